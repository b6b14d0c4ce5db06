#include "PostDetailView.h"

#include "InfoPane.h"
#include "Media.h"
#include "MediaPane.h"
#include "Post.h"
#include "Theme.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextEdit>

namespace {

constexpr int infoWidth = 380;
constexpr int aloneMaximumWidth = 680;

QScrollArea *scrolling(QWidget *content)
{
    auto *area = new QScrollArea;
    area->setWidget(content);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

bool isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget) ||
           qobject_cast<const QTextEdit *>(widget);
}

} // namespace

PostDetailView::PostDetailView(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_post(std::move(post)), m_info(new InfoPane(m_post, context))
{
    setObjectName(QStringLiteral("PostDetailView"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Theme::background().resolved());
    setPalette(background);
    const auto media = liveMedia();
    if (media.isEmpty()) {
        layOutAlone();
        return;
    }
    m_media = new MediaPane;
    m_media->setMedia(media);
    layOutWithMedia();
}

QList<std::shared_ptr<Media>> PostDetailView::liveMedia() const
{
    QList<std::shared_ptr<Media>> live;
    for (const auto &item : m_post->sortedMedia())
        if (!item->isGone() && item->context())
            live.append(item);
    return live;
}

void PostDetailView::layOutWithMedia()
{
    auto *side = scrolling(m_info);
    side->setFixedWidth(infoWidth);
    QColor card = Theme::card().resolved();
    card.setAlphaF(0.35);
    side->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: %1; }")
                            .arg(card.name(QColor::HexArgb)));
    auto *line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(0,0,0,30);"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_media, 1);
    layout->addWidget(line);
    layout->addWidget(side);
}

void PostDetailView::layOutAlone()
{
    auto *column = scrolling(m_info);
    column->setMaximumWidth(aloneMaximumWidth);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The stretches share what is left beyond the column's maximum, centring it.
    layout->addStretch(1);
    layout->addWidget(column, 1000);
    layout->addStretch(1);
}

void PostDetailView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    setFocus();
}

void PostDetailView::keyPressEvent(QKeyEvent *event)
{
    const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (!arrow || isTextField(QApplication::focusWidget())) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_media)
        m_media->go(event->key() == Qt::Key_Left ? -1 : +1);
    event->accept();
}
