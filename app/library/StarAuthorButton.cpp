#include "StarAuthorButton.h"

#include "AuthorDirectory.h"
#include "AuthorMerge.h"
#include "MenuText.h"
#include "ModelContext.h"
#include "Symbol.h"

#include <QAction>
#include <QGuiApplication>
#include <QPalette>

namespace {

QColor secondaryColor()
{
    QColor color = QGuiApplication::palette().color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

} // namespace

StarAuthorButton::StarAuthorButton(const AuthorAccount &account, ModelContext &context, QWidget *parent)
    : QToolButton(parent), m_account(account), m_context(context)
{
    setAutoRaise(true);
    setIconSize(QSize(18, 18));
    connect(this, &QToolButton::clicked, this, [this] {
        if (const QString message = toggle(m_account, m_context); !message.isEmpty())
            emit toastRequested(message);
        refresh();
    });
    connect(&context, &ModelContext::changed, this, &StarAuthorButton::refresh);
    refresh();
}

bool StarAuthorButton::isStarred(const AuthorAccount &account, ModelContext &context)
{
    return AuthorDirectory(context).isStarred(account);
}

QString StarAuthorButton::fullTitle(const AuthorAccount &account, ModelContext &context)
{
    const AuthorDirectory directory(context);
    const QString name = directory.displayName(account);
    return directory.isStarred(account) ? tr("取消星标博主「%1」").arg(name)
                                        : tr("设为星标博主「%1」").arg(name);
}

QAction *StarAuthorButton::menuAction(const AuthorAccount &account, ModelContext &context, QObject *parent,
                                      std::function<void(const QString &)> toast)
{
    const bool starred = isStarred(account, context);
    auto action = new QAction(menuText(fullTitle(account, context)), parent);
    action->setIcon(Symbol::pixmap(starred ? QStringLiteral("star.slash") : QStringLiteral("star"), 16,
                                   secondaryColor(), 1, 2));
    QObject::connect(action, &QAction::triggered, parent, [account, &context, toast = std::move(toast)] {
        if (const QString message = toggle(account, context); !message.isEmpty())
            toast(message);
    });
    return action;
}

QString StarAuthorButton::toggle(const AuthorAccount &account, ModelContext &context)
{
    const AuthorDirectory before(context);
    const bool starred = before.isStarred(account);
    const QString name = before.displayName(account);
    AuthorMerge::setStarred(account, !starred, context);
    if (isStarred(account, context) == starred)
        return {};
    return starred ? tr("已取消星标「%1」").arg(name) : tr("已设为星标博主「%1」").arg(name);
}

void StarAuthorButton::refresh()
{
    const bool starred = isStarred(m_account, m_context);
    setIcon(Symbol::pixmap(starred ? QStringLiteral("star.fill") : QStringLiteral("star"), 18,
                           starred ? QColor(255, 204, 0) : secondaryColor(), 1, 2));
    setToolTip(starred ? tr("取消星标博主") : tr("设为星标博主，在收藏页顶部显示"));
}
