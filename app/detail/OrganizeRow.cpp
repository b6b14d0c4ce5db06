#include "OrganizeRow.h"

#include "Board.h"
#include "Chip.h"
#include "FlowLayout.h"
#include "HexColor.h"
#include "MenuText.h"
#include "ModelContext.h"
#include "NameDialog.h"
#include "Post.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "Symbol.h"
#include "Tag.h"
#include "Text.h"
#include "Theme.h"
#include "Typography.h"

#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

namespace {

constexpr int chipSpacing = 6;

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

OrganizeRow::OrganizeRow(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_post(std::move(post)), m_context(&context),
      m_flow(new FlowLayout(chipSpacing, this)), m_tagButton(addMenuButton(tr("标签"), this)),
      m_boardButton(addMenuButton(tr("合集"), this))
{
    m_flow->setContentsMargins(0, 0, 0, 0);
    m_tagButton->setObjectName(QStringLiteral("addTag"));
    m_boardButton->setObjectName(QStringLiteral("addBoard"));
    connect(tagMenu(), &QMenu::aboutToShow, this, &OrganizeRow::fillTagMenu);
    connect(boardMenu(), &QMenu::aboutToShow, this, &OrganizeRow::fillBoardMenu);
    showChips();
    applyAppearance();
    // What was drawn in the colours of the old appearance is made again in the new.
    Theme::followPalette(this, [this] {
        m_chipKey.clear();
        showChips();
        applyAppearance();
    });
}

QMenu *OrganizeRow::tagMenu() const
{
    return m_tagButton->menu();
}

QMenu *OrganizeRow::boardMenu() const
{
    return m_boardButton->menu();
}

QList<QWidget *> OrganizeRow::tabStops() const
{
    QList<QWidget *> stops;
    for (int i = 0; i < m_flow->count(); ++i)
        if (auto *chip = qobject_cast<Chip *>(m_flow->itemAt(i)->widget()); chip && chip->removeButton())
            stops << chip->removeButton();
    return stops << m_tagButton << m_boardButton;
}

void OrganizeRow::applyAppearance()
{
    for (QToolButton *button : {m_tagButton, m_boardButton})
        paintAddMenuButton(*button, *this);
}

QStringList OrganizeRow::chipKey() const
{
    QStringList key;
    for (const auto &tag : m_post->sortedTags())
        key << tag->id().toString() + tag->name() + tag->colorHex();
    key << QString();
    for (const auto &board : liveBoards())
        key << board->id().toString() + board->name();
    return key;
}

void OrganizeRow::showChips()
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
    emit chipsShown();
}

void OrganizeRow::fillTagMenu()
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
    menu->addAction(tr("新建标签…"), this, &OrganizeRow::askNewTagName);
}

void OrganizeRow::fillBoardMenu()
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

void OrganizeRow::askNewTagName()
{
    auto *alert = new NameDialog(tr("新建标签"), tr("标签名"), tr("添加"), this);
    alert->setObjectName(QStringLiteral("newTagAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    connect(alert, &QDialog::accepted, this, [this, alert] { addNewTag(alert->field()->text()); });
    alert->open();
}

void OrganizeRow::addNewTag(const QString &typed)
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

void OrganizeRow::remove(const std::shared_ptr<Tag> &tag)
{
    auto tags = m_post->tags();
    tags.removeAll(tag);
    setTags(tags);
}

QList<std::shared_ptr<Board>> OrganizeRow::liveBoards() const
{
    QList<std::shared_ptr<Board>> live;
    for (const auto &board : m_post->boards())
        if (!board->isGone())
            live.append(board);
    return live;
}

void OrganizeRow::setTags(const QList<std::shared_ptr<Tag>> &tags)
{
    if (!isPostLive())
        return;
    m_post->setTags(tags);
    save();
}

void OrganizeRow::setBoards(const QList<std::shared_ptr<Board>> &boards)
{
    if (!isPostLive())
        return;
    m_post->setBoards(boards);
    save();
}

bool OrganizeRow::isPostLive() const
{
    return m_context && !m_post->isGone();
}

void OrganizeRow::save()
{
    if (m_context)
        saveQuietly(*m_context);
}
