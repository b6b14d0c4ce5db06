#include "SyncStatus.h"

#include "BackupFolder.h"
#include "Clock.h"
#include "ElidedLabel.h"
#include "MacModel.h"
#include "RelativeTime.h"
#include "Symbol.h"
#include "TamselStore.h"
#include "Theme.h"
#include "Typography.h"
#include "UserDefaults.h"

#include <QCoro/QCoroTask>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int iconSize = 14;
constexpr std::chrono::seconds refreshInterval{30};

} // namespace

SyncStatus::SyncStatus(MacModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_timer(new QTimer(this)), m_icon(new QLabel),
      m_spinner(new QProgressBar), m_text(new ElidedLabel), m_setUp(new QPushButton(tr("设置文件夹同步"))),
      m_syncNow(new QToolButton)
{
    setFont(Typography::caption(font()));
    m_spinner->setRange(0, 0);
    m_spinner->setTextVisible(false);
    m_spinner->setFixedSize(iconSize * 2, iconSize / 2);
    // A long error ends in "…" at the sidebar's edge; its tooltip holds all of it.
    m_text->setObjectName(QStringLiteral("syncText"));
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Theme::useSecondaryText(m_text);
    m_setUp->setFlat(true);
    m_setUp->setCursor(Qt::PointingHandCursor);
    m_setUp->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
    m_syncNow->setObjectName(QStringLiteral("syncNow"));
    m_syncNow->setAutoRaise(true);
    m_syncNow->setToolTip(tr("立即同步（Shift+Ctrl+R）"));
    applyAppearance();
    Theme::followPalette(this, [this] {
        applyAppearance();
        refresh();
    });
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(6);
    // The text, or the set-up link, takes the room up to the sync button.
    layout->addWidget(m_icon);
    layout->addWidget(m_spinner);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_setUp, 1, Qt::AlignLeft);
    layout->addWidget(m_syncNow);

    connect(m_setUp, &QPushButton::clicked, this, [this] {
        if (m_model.openSettingsWindow())
            m_model.openSettingsWindow()();
    });
    connect(m_syncNow, &QToolButton::clicked, this,
            [this] { QCoro::connect(m_model.sync(true), this, [] {}); });
    connect(&model, &MacModel::syncingChanged, this, &SyncStatus::refresh);
    connect(&model, &MacModel::syncErrorChanged, this, &SyncStatus::refresh);
    connect(&model, &MacModel::lastSyncChanged, this, &SyncStatus::refresh);
    connect(&TamselStore::defaults(), &UserDefaults::changed, this, &SyncStatus::refresh);
    connect(m_timer, &QTimer::timeout, this, &SyncStatus::refresh);
    m_timer->start(refreshInterval);
    refresh();
}

// The link colour and the icons are picked again after each change of appearance.
// The link is in the accent colour whatever the desktop's palette calls a link.
void SyncStatus::applyAppearance()
{
    QPalette link = m_setUp->palette();
    link.setColor(QPalette::ButtonText, Theme::accent().resolved());
    m_setUp->setPalette(link);
    m_syncNow->setIcon(
        Symbol::pixmap(QStringLiteral("arrow.clockwise"), iconSize, Theme::secondaryText(palette())));
}

QString SyncStatus::text() const
{
    return m_setUp->isHidden() ? m_text->text() : m_setUp->text();
}

// The first state that holds wins: syncing, not set up, failed, synced.
void SyncStatus::refresh()
{
    const bool configured = BackupFolder::isConfigured();
    const bool syncing = m_model.syncing();
    const bool notSetUp = !syncing && !configured;
    m_spinner->setVisible(syncing);
    m_setUp->setVisible(notSetUp);
    m_text->setVisible(!notSetUp);
    m_text->setToolTip(QString());
    if (syncing) {
        showSymbol(QString(), {});
        m_text->setText(tr("正在同步…"));
    } else if (notSetUp) {
        showSymbol(QStringLiteral("icloud.slash"), Theme::secondaryText(palette()));
    } else if (const auto &error = m_model.syncError()) {
        showSymbol(QStringLiteral("exclamationmark.icloud"), QColor(0xF0, 0x8C, 0x00));
        m_text->setText(*error);
        m_text->setToolTip(*error);
    } else {
        showSymbol(QStringLiteral("checkmark.icloud"), Theme::secondaryText(palette()));
        m_text->setText(syncedText());
    }
    m_syncNow->setVisible(configured);
    m_syncNow->setEnabled(!syncing);
}

QString SyncStatus::syncedText() const
{
    const auto &last = m_model.lastSync();
    if (!last)
        return tr("等待同步");
    return tr("已同步 · ") + RelativeTime::text(*last, Clock::now());
}

void SyncStatus::showSymbol(const QString &symbol, const QColor &color)
{
    m_symbol = symbol;
    m_icon->setVisible(!symbol.isEmpty());
    if (!symbol.isEmpty())
        m_icon->setPixmap(Symbol::pixmap(symbol, iconSize, color));
}
