#include "InfoPane.h"

#include "AuthorAccount.h"
#include "Board.h"
#include "Chip.h"
#include "Clock.h"
#include "Divider.h"
#include "FlowLayout.h"
#include "HexColor.h"
#include "ImportProgress.h"
#include "MenuText.h"
#include "ModelContext.h"
#include "NameDialog.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "PostAvatar.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "ShortDate.h"
#include "StarAuthorButton.h"
#include "Symbol.h"
#include "Tag.h"
#include "Text.h"
#include "Theme.h"
#include "Typography.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int margin = 20;
constexpr int spacing = 16;
constexpr int chipSpacing = 6;
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

QColor secondaryColor(const QWidget &widget)
{
    return widget.palette().color(QPalette::PlaceholderText);
}

// A pill with a dashed outline that opens a menu; as tall as a chip, so
// chips and pills line up in the flow.
QToolButton *addMenuButton(const QString &title, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(title);
    button->setFont(Typography::caption(parent->font()));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setCursor(Qt::PointingHandCursor);
    button->setMenu(new QMenu(button));
    return button;
}

// The pill's symbol and outline in the secondary colour of the appearance.
void paintAddMenuButton(QToolButton &button, const QWidget &parent)
{
    const int lineHeight = QFontMetrics(button.font()).height();
    const QColor color = secondaryColor(parent);
    QColor outline = color;
    outline.setAlphaF(0.4);
    // Reached with Tab, the pill's outline turns solid in the highlight colour.
    const QColor focus = parent.palette().color(QPalette::Highlight);
    button.setIconSize(QSize(lineHeight * 3 / 4, lineHeight * 3 / 4));
    button.setIcon(
        Symbol::pixmap(QStringLiteral("plus"), lineHeight * 3 / 4, color, 1.3, parent.devicePixelRatioF()));
    // The outline lies inside the pill: one pixel less padding than a chip.
    button.setFixedHeight(lineHeight + 8);
    button.setStyleSheet(QStringLiteral("QToolButton { color: %1; border: 1px dashed %2; border-radius: %3px;"
                                        " padding: 3px 8px; }"
                                        "QToolButton:focus { border: 1px solid %4; }"
                                        "QToolButton::menu-indicator { image: none; width: 0; }")
                             .arg(color.name(QColor::HexArgb), outline.name(QColor::HexArgb))
                             .arg((lineHeight + 8) / 2)
                             .arg(focus.name(QColor::HexArgb)));
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
    m_layout->addWidget(makeOrganize());
    m_layout->addWidget(new Divider(Qt::Horizontal));
    addNote(*m_layout);
    m_layout->addStretch();
    orderTabStops();
    applyAppearance();
    Theme::followPalette(this, [this] { followAppearance(); });
    connect(&context, &ModelContext::changed, this, &InfoPane::followPost);
    connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, this, [this](const QUuid &id) {
        if (id == m_post->id())
            showImportProgress();
    });
}

InfoPane::~InfoPane()
{
    saveNote();
}

QMenu *InfoPane::tagMenu() const
{
    return m_tagButton->menu();
}

QMenu *InfoPane::boardMenu() const
{
    return m_boardButton->menu();
}

QWidget *InfoPane::makeHeader()
{
    auto *header = new QWidget;
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addLayout(makeAuthorRow());
    // Only now: a parentless spinner made visible would become a window.
    showImportProgress();
    addTexts(*layout);
    addParseFailure(*layout);
    return header;
}

QLayout *InfoPane::makeAuthorRow()
{
    const Platform platform = m_post->platform();
    auto *spinner = new QProgressBar;
    spinner->setObjectName(QStringLiteral("importSpinner"));
    spinner->setRange(0, 0);
    spinner->setTextVisible(false);
    spinner->setFixedSize(24, 6);
    m_spinner = spinner;

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new PostAvatar(m_post->authorAvatarURL(), platform), 0, Qt::AlignVCenter);
    row->addLayout(makeAuthorTexts(), 1);
    row->addWidget(spinner, 0, Qt::AlignVCenter);
    if (!m_post->authorName().isEmpty()) {
        auto *star = new StarAuthorButton(AuthorAccount::fromPost(*m_post), *m_context);
        connect(star, &StarAuthorButton::toastRequested, this, &InfoPane::toastRequested);
        row->addWidget(star, 0, Qt::AlignVCenter);
    }
    return row;
}

QLayout *InfoPane::makeAuthorTexts()
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
    return texts;
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

QWidget *InfoPane::makeOrganize()
{
    auto *organize = new QWidget;
    m_flow = new FlowLayout(chipSpacing, organize);
    m_flow->setContentsMargins(0, 0, 0, 0);
    m_tagButton = addMenuButton(tr("标签"), organize);
    m_tagButton->setObjectName(QStringLiteral("addTag"));
    m_boardButton = addMenuButton(tr("合集"), organize);
    m_boardButton->setObjectName(QStringLiteral("addBoard"));
    connect(tagMenu(), &QMenu::aboutToShow, this, &InfoPane::fillTagMenu);
    connect(boardMenu(), &QMenu::aboutToShow, this, &InfoPane::fillBoardMenu);
    showChips();
    return organize;
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
    m_chipKey.clear();
    showChips();
    QWidget *title = makeNoteTitle();
    m_noteColumn->replaceWidget(m_noteTitle, title);
    delete m_noteTitle;
    m_noteTitle = title;
    applyAppearance();
}

// The note's backdrop and the add menus in the current appearance.
void InfoPane::applyAppearance()
{
    m_note->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; border-radius: 8px; padding: 6px; }")
            .arg(Theme::card().resolved().name()));
    for (QToolButton *button : {m_tagButton, m_boardButton})
        paintAddMenuButton(*button, *this);
}

void InfoPane::followPost()
{
    if (!isPostLive())
        return;
    showHeader();
    showChips();
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

void InfoPane::showImportProgress()
{
    if (m_spinner)
        m_spinner->setVisible(ImportProgress::shared().phase(m_post->id()).has_value());
}

QStringList InfoPane::chipKey() const
{
    QStringList key;
    for (const auto &tag : m_post->sortedTags())
        key << tag->id().toString() + tag->name() + tag->colorHex();
    key << QString();
    for (const auto &board : liveBoards())
        key << board->id().toString() + board->name();
    return key;
}

void InfoPane::showChips()
{
    const QStringList key = chipKey();
    if (key == m_chipKey)
        return;
    m_chipKey = key;
    while (QLayoutItem *item = m_flow->takeAt(0)) {
        if (auto *chip = qobject_cast<Chip *>(item->widget())) {
            // Later: the change may come from the chip's own remove button.
            chip->hide();
            chip->deleteLater();
        }
        delete item;
    }
    for (const auto &tag : m_post->sortedTags()) {
        auto *chip = new Chip(QStringLiteral("#") + tag->name(), hexColor(tag->colorHex()), {}, true);
        connect(chip, &Chip::removeClicked, this, [this, tag] { remove(tag); });
        m_flow->addWidget(chip);
    }
    for (const auto &board : liveBoards()) {
        auto *chip = new Chip(board->name(), secondaryColor(*this), QStringLiteral("rectangle.stack"), true);
        connect(chip, &Chip::removeClicked, this, [this, board] {
            auto boards = m_post->boards();
            boards.removeAll(board);
            setBoards(boards);
        });
        m_flow->addWidget(chip);
    }
    m_flow->addWidget(m_tagButton);
    m_flow->addWidget(m_boardButton);
    orderTabStops();
}

// The keys go back to the screen that holds the pane, not on to whatever
// control follows in the Tab order, where Space would act unasked.
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
    for (int i = 0; i < m_flow->count(); ++i)
        if (auto *chip = qobject_cast<Chip *>(m_flow->itemAt(i)->widget()); chip && chip->removeButton())
            stops << chip->removeButton();
    stops << m_tagButton << m_boardButton << m_note;
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

void InfoPane::fillTagMenu()
{
    QMenu *menu = tagMenu();
    menu->clear();
    if (!m_context)
        return;
    const auto current = m_post->tags();
    const auto tags = m_context->fetch<Tag>(
        {{}, [](const Tag &a, const Tag &b) { return Text::localizedStandardLess(a.name(), b.name()); }});
    for (const auto &tag : tags) {
        if (!tag->isGone() && !current.contains(tag))
            menu->addAction(menuText(QStringLiteral("#") + tag->name()), this,
                            [this, tag] { setTags(m_post->tags() << tag); });
    }
    menu->addSeparator();
    menu->addAction(tr("新建标签…"), this, &InfoPane::askNewTagName);
}

void InfoPane::fillBoardMenu()
{
    QMenu *menu = boardMenu();
    menu->clear();
    if (!m_context)
        return;
    const auto current = m_post->boards();
    const auto boards = m_context->fetch<Board>(
        {{}, [](const Board &a, const Board &b) { return a.createdAt() < b.createdAt(); }});
    for (const auto &board : boards) {
        if (!board->isGone() && !current.contains(board))
            menu->addAction(menuText(board->name()), this,
                            [this, board] { setBoards(m_post->boards() << board); });
    }
    if (menu->isEmpty())
        menu->addAction(tr("没有可加入的合集"))->setEnabled(false);
}

void InfoPane::askNewTagName()
{
    auto *alert = new NameDialog(tr("新建标签"), tr("标签名"), tr("添加"), this);
    alert->setObjectName(QStringLiteral("newTagAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    connect(alert, &QDialog::accepted, this, [this, alert] { addNewTag(alert->field()->text()); });
    alert->open();
}

void InfoPane::addNewTag(const QString &typed)
{
    // Spaces are trimmed again: "# #" must not leave a blank tag name.
    const QString name = Text::trimmingWhitespaceAndNewlines(
        Text::trimmingCharacter(Text::trimmingWhitespaceAndNewlines(typed), QLatin1Char('#')));
    if (name.isEmpty() || !m_context || !isPostLive())
        return;
    const auto tag = PostImporter::tag(name, *m_context);
    if (!m_post->tags().contains(tag))
        m_post->setTags(m_post->tags() << tag);
    save();
}

void InfoPane::remove(const std::shared_ptr<Tag> &tag)
{
    auto tags = m_post->tags();
    tags.removeAll(tag);
    setTags(tags);
}

QList<std::shared_ptr<Board>> InfoPane::liveBoards() const
{
    QList<std::shared_ptr<Board>> live;
    for (const auto &board : m_post->boards())
        if (!board->isGone())
            live.append(board);
    return live;
}

void InfoPane::setTags(const QList<std::shared_ptr<Tag>> &tags)
{
    if (!isPostLive())
        return;
    m_post->setTags(tags);
    save();
}

void InfoPane::setBoards(const QList<std::shared_ptr<Board>> &boards)
{
    if (!isPostLive())
        return;
    m_post->setBoards(boards);
    save();
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
