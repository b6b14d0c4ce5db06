#include "StarredStrip.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorIcon.h"
#include "AuthorIndex.h"
#include "AuthorMerge.h"
#include "HorizontalStrip.h"
#include "ModelContext.h"
#include "PersonEntry.h"
#include "Post.h"
#include "SecondaryLabel.h"
#include "Symbol.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int cellWidth = 66;
constexpr int avatarSize = 52;

} // namespace

StarredStrip::StarredStrip(ModelContext &context, QWidget *parent) : QWidget(parent), m_context(context)
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    layout->addWidget(makeHeading(this));
    m_cells = new HorizontalStrip(16, this);
    layout->addWidget(m_cells);

    connect(&context, &ModelContext::changed, this, &StarredStrip::refresh);
    refresh();
}

QWidget *StarredStrip::makeHeading(QWidget *parent)
{
    auto heading = new QWidget(parent);
    auto row = new QHBoxLayout(heading);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto star = new QLabel(heading);
    star->setPixmap(Symbol::pixmap(QStringLiteral("star.fill"), 12, QColor(255, 204, 0), 1, 2));
    auto title =
        new SecondaryLabel(tr("星标博主"), Typography::caption(parent->font(), QFont::DemiBold), heading);
    row->addWidget(star);
    row->addWidget(title);
    row->addStretch();
    return heading;
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
}

QWidget *StarredStrip::makeCell(const AuthorAccount &account, const QString &name, const QString &avatar)
{
    const PersonEntry::Action unstar{QStringLiteral("star.slash"), tr("取消星标"),
                                     [this, account] { AuthorMerge::setStarred(account, false, m_context); }};
    auto cell = new PersonEntry(account, PersonEntry::Background::none, 8, unstar, m_cells->widget());
    cell->setFixedWidth(cellWidth);
    connect(cell, &PersonEntry::activated, this, &StarredStrip::personActivated);
    auto column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto icon = new AuthorIcon(avatar, account.platform(), avatarSize, cell);
    icon->setTilt(FocusTilt(avatarSize / 2.0, 1.08));
    column->addWidget(icon, 0, Qt::AlignHCenter);
    auto label = new QLabel(cell);
    label->setTextFormat(Qt::PlainText); // a name from a page, never markup
    label->setFont(Typography::caption(font()));
    label->setAlignment(Qt::AlignHCenter);
    label->setText(label->fontMetrics().elidedText(name.simplified(), Qt::ElideRight, cellWidth));
    column->addWidget(label);
    return cell;
}
