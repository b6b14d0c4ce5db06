#include "InfoPane.h"

#include "Chip.h"
#include "Clock.h"
#include "HexColor.h"
#include "ModelContext.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "ShortDate.h"
#include "StoreError.h"
#include "Tag.h"
#include "Theme.h"
#include "Typography.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int margin = 20;
constexpr int spacing = 16;
constexpr int noteMinimumHeight = 90;

QFrame *divider()
{
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(0,0,0,30);"));
    return line;
}

QLabel *selectableText(const QString &text, const QFont &font)
{
    auto *label = new QLabel(text);
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

InfoPane::InfoPane(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_post(std::move(post)), m_context(&context)
{
    setObjectName(QStringLiteral("InfoPane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    addAuthor(*layout);
    addTexts(*layout);
    layout->addWidget(divider());
    addTags(*layout);
    layout->addWidget(divider());
    addNote(*layout);
    layout->addStretch();
    connect(&context, &ModelContext::changed, this, &InfoPane::takeStoredNote);
}

InfoPane::~InfoPane()
{
    saveNote();
}

void InfoPane::addAuthor(QVBoxLayout &layout)
{
    const Platform platform = m_post->platform();
    const QString author = m_post->authorName();
    QFont headline = font();
    headline.setBold(true);
    auto *name = new QLabel(author.isEmpty() ? platform.displayName() : author);
    name->setObjectName(QStringLiteral("authorName"));
    name->setTextFormat(Qt::PlainText);
    name->setFont(headline);

    QStringList dates{platform.displayName()};
    if (const auto published = m_post->publishedAt())
        dates << tr("· 发布于 %1").arg(shortDisplay(*published));
    dates << tr("· 收藏于 %1").arg(shortDisplay(m_post->createdAt()));
    auto *line = new QLabel(dates.join(QLatin1Char(' ')));
    line->setObjectName(QStringLiteral("postDates"));
    line->setFont(Typography::caption(font()));
    line->setForegroundRole(QPalette::PlaceholderText);

    auto *caption = new QHBoxLayout;
    caption->setSpacing(4);
    caption->addWidget(new PlatformBadge(platform, 10));
    caption->addWidget(line, 1);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(name);
    texts->addLayout(caption);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new PlatformBadge(platform, 40), 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    layout.addLayout(row);
}

void InfoPane::addTexts(QVBoxLayout &layout)
{
    if (!m_post->title().isEmpty()) {
        QFont title = font();
        title.setPointSizeF(title.pointSizeF() * 15 / 13);
        title.setBold(true);
        auto *label = selectableText(m_post->title(), title);
        label->setObjectName(QStringLiteral("postTitle"));
        layout.addWidget(label);
    }
    if (!m_post->content().isEmpty()) {
        auto *label = selectableText(m_post->content(), font());
        label->setObjectName(QStringLiteral("postContent"));
        layout.addWidget(label);
    }
}

void InfoPane::addTags(QVBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    for (const auto &tag : m_post->sortedTags())
        row->addWidget(new Chip(QStringLiteral("#") + tag->name(), hexColor(tag->colorHex())));
    row->addStretch();
    layout.addLayout(row);
}

void InfoPane::addNote(QVBoxLayout &layout)
{
    QFont heading = font();
    heading.setWeight(QFont::DemiBold);
    auto *title = new QLabel(tr("笔记"));
    title->setFont(heading);
    m_note = new QPlainTextEdit(m_post->note());
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setPlaceholderText(tr("写点什么…"));
    m_note->setMinimumHeight(noteMinimumHeight);
    m_note->setFrameShape(QFrame::NoFrame);
    m_note->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; border-radius: 8px; padding: 6px; }")
            .arg(Theme::card().resolved().name()));
    m_note->installEventFilter(this);
    auto *column = new QVBoxLayout;
    column->setSpacing(6);
    column->addWidget(title);
    column->addWidget(m_note);
    layout.addLayout(column);
}

void InfoPane::takeStoredNote()
{
    // What the user is typing wins over a change from elsewhere.
    if (!m_note->hasFocus() && !m_post->isGone() && m_note->toPlainText() != m_post->note())
        m_note->setPlainText(m_post->note());
}

bool InfoPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_note && event->type() == QEvent::FocusOut)
        saveNote();
    return QWidget::eventFilter(watched, event);
}

void InfoPane::hideEvent(QHideEvent *event)
{
    saveNote();
    QWidget::hideEvent(event);
}

void InfoPane::saveNote()
{
    if (!m_note || !m_context || m_post->isGone())
        return;
    const QString note = m_note->toPlainText();
    if (note == m_post->note())
        return;
    m_post->setNote(note);
    m_post->setUpdatedAt(Clock::now());
    try {
        m_context->save();
    } catch (const StoreError &) {
        // The note stays in memory and goes out with the next save.
    }
}
