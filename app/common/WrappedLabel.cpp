#include "WrappedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <limits>

namespace {

// Line breaks in the text start new lines, as in a plain label.
QString withLineSeparators(QString text)
{
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

} // namespace

WrappedLabel::WrappedLabel(const QString &text, QWidget *parent) : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setText(text);
}

void WrappedLabel::setText(const QString &text)
{
    m_text = text;
    updateGeometry();
    update();
}

qreal WrappedLabel::layOut(QTextLayout &layout, qreal width) const
{
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font());
    const qreal leading = fontMetrics().leading();
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height() + leading;
    }
    layout.endLayout();
    return height - leading;
}

QSize WrappedLabel::sizeHint() const
{
    QTextLayout layout(withLineSeparators(m_text));
    const qreal height = layOut(layout, std::numeric_limits<qreal>::max() / 4);
    qreal width = 0;
    for (int index = 0; index < layout.lineCount(); ++index)
        width = std::max(width, layout.lineAt(index).naturalTextWidth());
    return {int(std::ceil(width)), int(std::ceil(height))};
}

QSize WrappedLabel::minimumSizeHint() const
{
    // Any character may end a line, so one character's room is enough.
    return {fontMetrics().height(), fontMetrics().height()};
}

int WrappedLabel::heightForWidth(int width) const
{
    QTextLayout layout(withLineSeparators(m_text));
    return int(std::ceil(layOut(layout, width)));
}

void WrappedLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateGeometry();
}

void WrappedLabel::paintEvent(QPaintEvent *)
{
    QTextLayout layout(withLineSeparators(m_text));
    const qreal height = layOut(layout, width());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, QPointF(0, (this->height() - height) / 2));
}
