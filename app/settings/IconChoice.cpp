#include "IconChoice.h"

#include "SettingsForm.h"
#include "Theme.h"
#include "Typography.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

namespace {

constexpr qreal previewSide = 52;
constexpr qreal ringGap = 4;
constexpr qreal spacing = 6;

} // namespace

IconChoice::IconChoice(const DockIcon &icon, QWidget *parent) : QAbstractButton(parent), m_icon(icon)
{
    setCheckable(true);
    setText(icon.title());
    setFont(Typography::caption(font()));
    setCursor(Qt::PointingHandCursor);
}

QSize IconChoice::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int width = std::max(int(previewSide + 2 * ringGap + 4), metrics.horizontalAdvance(text()) + 4);
    return {width, int(previewSide + 2 * ringGap + spacing) + metrics.height()};
}

QRectF IconChoice::previewRect() const
{
    return {(width() - previewSide) / 2, ringGap + 1, previewSide, previewSide};
}

void IconChoice::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF preview = previewRect();
    QPainterPath clip;
    clip.addRoundedRect(preview, 12, 12);
    painter.save();
    painter.setClipPath(clip);
    painter.drawPixmap(preview.toRect(), m_icon.icon().pixmap(int(previewSide), int(previewSide)));
    painter.restore();

    const QColor accent = Theme::accent().resolved(palette());
    if (isChecked()) {
        painter.setPen(QPen(accent, 2.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(preview.adjusted(-ringGap, -ringGap, ringGap, ringGap), 15, 15);
    }

    painter.setPen(isChecked() ? accent : SettingsForm::secondaryColor(palette()));
    const QRectF title(0, preview.bottom() + ringGap + spacing, width(), fontMetrics().height());
    painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop, text());

    // Where Tab has brought the focus, as the style marks it on other controls.
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    if (focus.state & QStyle::State_HasFocus)
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}
