#include "StarAuthorButton.h"

#include "AuthorDirectory.h"
#include "AuthorMerge.h"
#include "MenuText.h"
#include "ModelContext.h"
#include "Motion.h"
#include "Symbol.h"
#include "Theme.h"

#include <QAction>
#include <QPainter>

namespace {

constexpr int starSize = 18;
constexpr qreal iconWeight = 1;
constexpr qreal iconRatio = 2;

QString starSymbol(bool starred)
{
    return starred ? QStringLiteral("star.fill") : QStringLiteral("star");
}

QColor starColor(bool starred)
{
    return starred ? QColor(255, 204, 0) : Theme::secondaryText(QGuiApplication::palette());
}

// The symbol shrunk around its centre to `scale` and faded to `opacity`.
QPixmap starFrame(bool starred, qreal scale, qreal opacity)
{
    QPixmap frame(QSize(starSize, starSize) * iconRatio);
    frame.setDevicePixelRatio(iconRatio);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
    painter.translate(starSize / 2.0, starSize / 2.0);
    painter.scale(scale, scale);
    painter.translate(-starSize / 2.0, -starSize / 2.0);
    Symbol::paint(painter, starSymbol(starred), QRectF(0, 0, starSize, starSize), starColor(starred),
                  iconWeight);
    return frame;
}

} // namespace

StarAuthorButton::StarAuthorButton(const AuthorAccount &account, ModelContext &context, QWidget *parent)
    : QToolButton(parent), m_account(account), m_context(context), m_starred(isStarred(account, context)),
      m_replace(new Motion(Motion::Curve::spring(0.35, 0.7), 1.0, this))
{
    setAutoRaise(true);
    setIconSize(QSize(starSize, starSize));
    connect(this, &QToolButton::clicked, this, [this] {
        if (const QString message = toggle(m_account, m_context); !message.isEmpty())
            emit toastRequested(message);
        refresh();
    });
    connect(&context, &ModelContext::changed, this, &StarAuthorButton::refresh);
    connect(m_replace, &Motion::valueChanged, this, &StarAuthorButton::paintIcon);
    Theme::followPalette(this, [this] { paintIcon(); });
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
                                   Theme::secondaryText(QGuiApplication::palette()), 1, 2));
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

// A change seen on screen replaces one symbol with the other; one made
// while hidden just shows.
void StarAuthorButton::refresh()
{
    const bool starred = isStarred(m_account, m_context);
    setToolTip(starred ? tr("取消星标博主") : tr("设为星标博主，在收藏页顶部显示"));
    if (starred != m_starred) {
        m_starred = starred;
        m_replace->jumpTo(isVisible() ? 0.0 : 1.0);
        m_replace->animateTo(1.0);
    }
    paintIcon();
}

// The old symbol shrinks to half and fades in the first half of the way;
// the new one grows from half, overshooting a little as the spring settles.
void StarAuthorButton::paintIcon()
{
    const qreal way = m_replace->value().toReal();
    if (way < 0.5)
        setIcon(starFrame(!m_starred, 1 - way, 1 - 2 * way));
    else
        setIcon(starFrame(m_starred, way, 2 * way - 1));
}
