#include "InfoPane.h"

#include "AuthorRow.h"
#include "Clock.h"
#include "Divider.h"
#include "ModelContext.h"
#include "OrganizeRow.h"
#include "Post.h"
#include "QuietSave.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int margin = 20;
constexpr int spacing = 16;
constexpr int noteMinimumHeight = 90;
constexpr int contentLineGap = 3;
const QColor failureColor(0xE8, 0x86, 0x1A);

// Text the mouse selects and the copy keys copy; every other key goes on to
// the screen, so the arrows still page after a click in the text. A gap
// between its lines takes it through rich text, escaped, its spaces and
// line breaks kept.
class SelectableText : public QLabel {
public:
    SelectableText(const QString &text, const QFont &font, int lineGap = 0)
    {
        setFont(font);
        setWordWrap(true);
        if (lineGap == 0) {
            setTextFormat(Qt::PlainText);
            setText(text);
        } else {
            setTextFormat(Qt::RichText);
            setText(QStringLiteral("<p style=\"white-space: pre-wrap; line-height: %1px;"
                                   " -qt-line-height-type: line-distance\">%2</p>")
                        .arg(QString::number(lineGap), text.toHtmlEscaped()));
        }
        setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Copy))
            QLabel::keyPressEvent(event);
        else
            event->ignore();
    }
};

// A symbol before a wrapping text, both in the font's size and the colour.
QWidget *symbolLabel(const QString &symbol, const QString &text, const QFont &font, const QColor &color)
{
    auto *label = new QWidget;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    const int size = QFontMetrics(font).height();
    auto *icon = new QLabel;
    icon->setPixmap(Symbol::pixmap(symbol, size, color, 1, label->devicePixelRatioF()));
    auto *words = new QLabel(text);
    words->setObjectName(QStringLiteral("text"));
    words->setFont(font);
    words->setTextFormat(Qt::PlainText);
    words->setWordWrap(true);
    auto *row = new QHBoxLayout(label);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(words, 1);
    return label;
}

} // namespace

InfoPane::InfoPane(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_post(std::move(post)), m_context(&context), m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("InfoPane"));
    m_layout->setContentsMargins(margin, margin, margin, margin);
    m_layout->setSpacing(spacing);
    m_headerKey = headerKey();
    m_header = makeHeader();
    m_layout->addWidget(m_header);
    m_layout->addWidget(new Divider(Qt::Horizontal));
    m_organize = new OrganizeRow(m_post, context, this);
    connect(m_organize, &OrganizeRow::chipsShown, this, &InfoPane::orderTabStops);
    m_layout->addWidget(m_organize);
    m_layout->addWidget(new Divider(Qt::Horizontal));
    addNote(*m_layout);
    m_layout->addStretch();
    orderTabStops();
    applyAppearance();
    Theme::followPalette(this, [this] { followAppearance(); });
    connect(&context, &ModelContext::changed, this, &InfoPane::followPost);
}

InfoPane::~InfoPane()
{
    saveNote();
}

QMenu *InfoPane::tagMenu() const
{
    return m_organize->tagMenu();
}

QMenu *InfoPane::boardMenu() const
{
    return m_organize->boardMenu();
}

void InfoPane::addNewTag(const QString &typed)
{
    m_organize->addNewTag(typed);
}

QWidget *InfoPane::makeHeader()
{
    auto *header = new QWidget;
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    auto *author = new AuthorRow(*m_post, *m_context);
    connect(author, &AuthorRow::toastRequested, this, &InfoPane::toastRequested);
    layout->addWidget(author);
    addTexts(*layout);
    addParseFailure(*layout);
    return header;
}

void InfoPane::addTexts(QVBoxLayout &layout)
{
    if (!m_post->title().isEmpty()) {
        QFont title = font();
        title.setPointSizeF(title.pointSizeF() * 15 / 13);
        title.setBold(true);
        auto *label = new SelectableText(m_post->title(), title);
        label->setObjectName(QStringLiteral("postTitle"));
        layout.addWidget(label);
    }
    if (!m_post->content().isEmpty()) {
        auto *label = new SelectableText(m_post->content(), font(), contentLineGap);
        label->setObjectName(QStringLiteral("postContent"));
        layout.addWidget(label);
    }
}

void InfoPane::addParseFailure(QVBoxLayout &layout)
{
    if (m_post->parseState() != ParseState::failed)
        return;
    const QString error = m_post->parseError();
    QWidget *failure =
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), error.isEmpty() ? tr("解析失败") : error,
                    Typography::callout(font()), failureColor);
    failure->setObjectName(QStringLiteral("parseFailure"));
    layout.addWidget(failure);
    auto *reparse = new QPushButton(tr("重新解析"));
    reparse->setObjectName(QStringLiteral("reparse"));
    // Clicked, it leaves the focus where it was, so Space keeps previewing.
    reparse->setFocusPolicy(Qt::TabFocus);
    connect(reparse, &QPushButton::clicked, this, [this] { emit reparseRequested(m_post); });
    layout.addWidget(reparse, 0, Qt::AlignLeft);
}

void InfoPane::addNote(QVBoxLayout &layout)
{
    m_noteTitle = makeNoteTitle();
    m_note = new QPlainTextEdit(m_post->note());
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setPlaceholderText(tr("写点什么…"));
    m_note->setMinimumHeight(noteMinimumHeight);
    m_note->setFrameShape(QFrame::NoFrame);
    // Tab leaves the note rather than typing into it, so the keyboard never gets stuck there.
    m_note->setTabChangesFocus(true);
    m_note->installEventFilter(this);
    m_noteColumn = new QVBoxLayout;
    m_noteColumn->setSpacing(6);
    m_noteColumn->addWidget(m_noteTitle);
    m_noteColumn->addWidget(m_note);
    layout.addLayout(m_noteColumn);
}

QWidget *InfoPane::makeNoteTitle() const
{
    return symbolLabel(QStringLiteral("pencil"), tr("笔记"), Typography::subheadline(font(), QFont::DemiBold),
                       palette().color(QPalette::WindowText));
}

// What was drawn in the colours of the old appearance is made again in the new.
void InfoPane::followAppearance()
{
    m_headerKey.clear();
    showHeader();
    QWidget *title = makeNoteTitle();
    m_noteColumn->replaceWidget(m_noteTitle, title);
    delete m_noteTitle;
    m_noteTitle = title;
    applyAppearance();
}

// The note's backdrop in the current appearance.
void InfoPane::applyAppearance()
{
    m_note->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; border-radius: 8px; padding: 6px; }")
            .arg(Theme::card().resolved().name()));
}

void InfoPane::followPost()
{
    if (!isPostLive())
        return;
    showHeader();
    m_organize->showChips();
    takeStoredNote();
}

QStringList InfoPane::headerKey() const
{
    const auto published = m_post->publishedAt();
    return {m_post->title(),
            m_post->content(),
            m_post->authorName(),
            m_post->authorAvatarURL(),
            m_post->platformRaw(),
            published ? published->toString(Qt::ISODateWithMs) : QString(),
            m_post->createdAt().toString(Qt::ISODateWithMs),
            m_post->parseStateRaw(),
            m_post->parseError()};
}

void InfoPane::showHeader()
{
    const QStringList key = headerKey();
    if (key == m_headerKey)
        return;
    m_headerKey = key;
    QWidget *old = m_header;
    m_header = makeHeader();
    m_layout->replaceWidget(old, m_header);
    if (old->isAncestorOf(QApplication::focusWidget()))
        returnFocusToScreen();
    // Later: the change may come from a click inside the old header.
    old->hide();
    old->deleteLater();
    orderTabStops();
}

void InfoPane::returnFocusToScreen()
{
    for (QWidget *up = parentWidget(); up; up = up->parentWidget()) {
        if (up->focusPolicy() != Qt::NoFocus) {
            up->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

// Tab goes down the column as it reads, however often its parts were made anew.
void InfoPane::orderTabStops()
{
    if (!m_note)
        return;
    QList<QWidget *> stops = m_header->findChildren<QWidget *>();
    stops << m_organize->tabStops() << m_note;
    stops.removeIf([](const QWidget *stop) { return !(stop->focusPolicy() & Qt::TabFocus); });
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops.at(i - 1), stops.at(i));
}

void InfoPane::takeStoredNote()
{
    // What the user is typing wins over a change from elsewhere.
    if (!m_note->hasFocus() && isPostLive() && m_note->toPlainText() != m_post->note())
        m_note->setPlainText(m_post->note());
}

bool InfoPane::isPostLive() const
{
    return m_context && !m_post->isGone();
}

void InfoPane::save()
{
    if (m_context)
        saveQuietly(*m_context);
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
    if (!m_note || !isPostLive())
        return;
    const QString note = m_note->toPlainText();
    if (note == m_post->note())
        return;
    m_post->setNote(note);
    m_post->setUpdatedAt(Clock::now());
    save();
}
