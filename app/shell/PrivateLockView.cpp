#include "PrivateLockView.h"

#include "ProminentButton.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

PrivateLockView::PrivateLockView(QWidget *parent)
    : QWidget(parent), m_unlock(new ProminentButton(tr("解锁"), this))
{
    setAutoFillBackground(true);
    auto *icon = new QLabel(this);
    icon->setAlignment(Qt::AlignCenter);
    const auto paint = [this, icon] {
        // The page keeps its own background, so the appearance is read from the application.
        QPalette page = palette();
        page.setColor(QPalette::Window, Theme::background().resolved());
        setPalette(page);
        icon->setPixmap(Symbol::pixmap(QStringLiteral("lock.fill"), 44,
                                       palette().color(QPalette::PlaceholderText), 1, devicePixelRatioF()));
    };
    Theme::paintAndFollow(this, paint);

    auto *title = new QLabel(tr("隐私空间已锁定"), this);
    QFont titleFont = font();
    titleFont.setPointSizeF(font().pointSizeF() * 17 / 13);
    titleFont.setWeight(QFont::Bold);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto *description = new QLabel(tr("用登录密码解锁。离开 Kepsel 时会自动锁上。"), this);
    description->setFont(Typography::callout(font()));
    description->setForegroundRole(QPalette::PlaceholderText);
    description->setAlignment(Qt::AlignCenter);
    description->setWordWrap(true);

    m_unlock->setDefault(true);
    connect(m_unlock, &QPushButton::clicked, this, &PrivateLockView::unlockRequested);
    // Return is the unlock's shortcut wherever the focus is in the window,
    // the sidebar that just chose this screen included; only a sidebar whose
    // arrow keys moved on to another row takes Return to choose that row.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, m_unlock, &QPushButton::click);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(icon);
    layout->addSpacing(8);
    layout->addWidget(title);
    layout->addWidget(description);
    layout->addSpacing(12);
    layout->addWidget(m_unlock, 0, Qt::AlignHCenter);
    layout->addStretch();
}
