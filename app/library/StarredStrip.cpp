#include "StarredStrip.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorIcon.h"
#include "AuthorIndex.h"
#include "AuthorMerge.h"
#include "HorizontalStrip.h"
#include "ModelContext.h"
#include "Post.h"
#include "Symbol.h"
#include "Typography.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

namespace {

constexpr int cellWidth = 66;
constexpr int avatarSize = 52;

// One person: clicks open, the context menu takes the star away.
class StarredCell : public QWidget {
public:
    StarredCell(std::function<void()> open, std::function<void()> unstar, QWidget *parent)
        : QWidget(parent), m_open(std::move(open)), m_unstar(std::move(unstar))
    {
        setFixedWidth(cellWidth);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_open();
    }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        QMenu menu;
        menu.addAction(
            Symbol::pixmap(QStringLiteral("star.slash"), 16, palette().color(QPalette::WindowText), 1, 2),
            StarredStrip::tr("取消星标"), m_unstar);
        menu.exec(event->globalPos());
    }

private:
    std::function<void()> m_open;
    std::function<void()> m_unstar;
};

QColor secondary(const QPalette &palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

} // namespace

StarredStrip::StarredStrip(ModelContext &context, QWidget *parent) : QWidget(parent), m_context(context)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    auto heading = new QWidget(this);
    auto headingRow = new QHBoxLayout(heading);
    headingRow->setContentsMargins(0, 0, 0, 0);
    headingRow->setSpacing(4);
    auto star = new QLabel(heading);
    star->setPixmap(Symbol::pixmap(QStringLiteral("star.fill"), 12, QColor(255, 204, 0), 1, 2));
    auto title = new QLabel(tr("星标博主"), heading);
    title->setFont(Typography::caption(font(), QFont::DemiBold));
    QPalette faded = title->palette();
    faded.setColor(QPalette::WindowText, secondary(palette()));
    title->setPalette(faded);
    headingRow->addWidget(star);
    headingRow->addWidget(title);
    headingRow->addStretch();
    layout->addWidget(heading);

    m_cells = new HorizontalStrip(16, this);
    layout->addWidget(m_cells);

    connect(&context, &ModelContext::changed, this, &StarredStrip::refresh);
    refresh();
}

void StarredStrip::setWanted(bool wanted)
{
    m_wanted = wanted;
    setVisible(m_wanted && !m_accounts.isEmpty());
}

QWidget *StarredStrip::cell(int index) const
{
    return m_cells->items().value(index);
}

void StarredStrip::refresh()
{
    const AuthorDirectory directory(m_context);
    const QList<AuthorAccount> starred = directory.starred();
    const AuthorIndex index(m_context.fetch<Post>());
    QStringList shown;
    for (const AuthorAccount &account : starred)
        shown << account.key() << directory.displayName(account) << index.avatar(directory.accounts(account));
    setVisible(m_wanted && !starred.isEmpty());
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_accounts = starred;
    m_cells->clear();
    for (int i = 0; i < starred.size(); ++i)
        m_cells->add(makeCell(starred[i], shown[3 * i + 1], shown[3 * i + 2]));
    m_cells->fitHeight();
}

QWidget *StarredStrip::makeCell(const AuthorAccount &account, const QString &name, const QString &avatar)
{
    auto cell = new StarredCell([this, account] { emit personActivated(account); },
                                [this, account] { AuthorMerge::setStarred(account, false, m_context); },
                                m_cells->widget());
    auto column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto icon = new AuthorIcon(avatar, account.platform(), avatarSize, cell);
    icon->setTilt(FocusTilt(avatarSize / 2.0, 1.08));
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto label = new QLabel(cell);
    label->setFont(Typography::caption(font()));
    label->setAlignment(Qt::AlignHCenter);
    label->setText(label->fontMetrics().elidedText(name.simplified(), Qt::ElideRight, cellWidth));
    column->addWidget(label);
    return cell;
}
