#include "MacModel.h"

#include "BackupFolder.h"
#include "DetachedTask.h"
#include "HTTPClient.h"
#include "KitLog.h"
#include "ModelContainer.h"
#include "PamPasswordCheck.h"
#include "PostImporter.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramModule.h"
#include "UndoableDelete.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <QCoro/QCoroTimer>
#include <algorithm>

namespace {

const QString autoChosenKey = QStringLiteral("macFolderAutoChosen");
const QString menuBarEnabledKey = QStringLiteral("menuBarEnabled");
const QString menuBarHideDockKey = QStringLiteral("menuBarHideDock");
const QString mainWindowPrefix = QStringLiteral("main");

bool canBecomeMain(const QWindow *window)
{
    return window->isVisible() && (window->type() == Qt::Window || window->type() == Qt::Dialog);
}

} // namespace

MacModel &MacModel::shared()
{
    // Lives as long as the process, with its timer.
    static MacModel *const instance = new MacModel();
    return *instance;
}

std::optional<QString> MacModel::iCloudKepselFolder()
{
    const QString drive = QDir::homePath() + QStringLiteral("/Library/Mobile Documents/com~apple~CloudDocs");
    if (!QFileInfo::exists(drive))
        return std::nullopt;
    for (const QString &name : {BackupFolder::subfolderName, BackupFolder::legacySubfolderName}) {
        const QString folder = drive + QLatin1Char('/') + name;
        if (QFileInfo::exists(folder))
            return folder;
    }
    return drive;
}

bool MacModel::downloadVideos()
{
    return TamselStore::defaults().boolObject(SettingsKey::downloadVideos, true);
}

MacModel::MacModel(QObject *parent) : MacModel(std::make_unique<PamPasswordCheck>(), Delays(), parent) {}

MacModel::MacModel(std::unique_ptr<PasswordCheck> passwordCheck, Delays delays, QObject *parent)
    : QObject(parent), m_delays(delays), m_passwordCheck(std::move(passwordCheck)),
      m_container(TamselStore::makeContainer(false)), m_pendingDelete(std::make_unique<UndoableDelete>()),
      m_importer(std::make_unique<PostImporter>(m_container->mainContext(), HTTPClient()))
{
    m_pendingDelete->setOnCommit([self = QPointer<MacModel>(this)](const UndoableDelete::PostList &posts) {
        if (self)
            self->deleteNow(posts);
    });
    chooseCloudFolderOnce();
    const double lastSyncAt = TamselStore::defaults().number(BackupFolder::lastSyncKey);
    if (lastSyncAt > 0)
        m_lastSync = QDateTime::fromMSecsSinceEpoch(qint64(lastSyncAt * 1000));
    // Before any import or sync can reach the plug-in's hooks.
    TelegramModule::registerModule();
    connect(&m_timer, &QTimer::timeout, this, &MacModel::timerFired);
    m_timer.start(m_delays.timer);
    // The clipboard also changes while the application stays active. Queued,
    // so the pasteboard has counted the change by the time it is looked at.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &MacModel::checkClipboard,
            Qt::QueuedConnection);
}

MacModel::~MacModel() = default;

// Once only: after that the user's choice (even no folder) stands.
void MacModel::chooseCloudFolderOnce()
{
    if (BackupFolder::isConfigured() || TamselStore::defaults().boolValue(autoChosenKey))
        return;
    const std::optional<QString> folder = iCloudKepselFolder();
    if (!folder)
        return;
    const QString name = QFileInfo(*folder).fileName();
    if (name != BackupFolder::subfolderName && name != BackupFolder::legacySubfolderName)
        return;
    try {
        adoptFolder(*folder);
    } catch (const std::exception &error) {
        // The next launch tries again.
        qCWarning(tamselLog, "cloud folder not adopted: %s", error.what());
        return;
    }
    TamselStore::defaults().setBool(autoChosenKey, true);
}

// Observers hear only of real changes.
template <typename T> void MacModel::update(T &field, const T &value, void (MacModel::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void MacModel::setToolbarHidden(bool hidden)
{
    update(m_toolbarHidden, hidden, &MacModel::toolbarHiddenChanged);
}

void MacModel::setToast(const std::optional<QString> &toast)
{
    update(m_toast, toast, &MacModel::toastChanged);
}

void MacModel::setShowAdd(bool show)
{
    update(m_showAdd, show, &MacModel::showAddChanged);
}

void MacModel::setNaming(const std::optional<Naming> &naming)
{
    const bool same =
        naming.has_value() == m_naming.has_value() && (!naming || naming->id() == m_naming->id());
    m_naming = naming;
    if (!same)
        emit namingChanged();
}

void MacModel::setNamingText(const QString &text)
{
    update(m_namingText, text, &MacModel::namingTextChanged);
}

void MacModel::setDeleting(const std::optional<SidebarItem> &item)
{
    update(m_deleting, item, &MacModel::deletingChanged);
}

void MacModel::setPrivateUnlocked(bool unlocked)
{
    update(m_privateUnlocked, unlocked, &MacModel::privateUnlockedChanged);
}

void MacModel::setSyncing(bool syncing)
{
    update(m_syncing, syncing, &MacModel::syncingChanged);
}

void MacModel::setSyncError(const std::optional<QString> &error)
{
    update(m_syncError, error, &MacModel::syncErrorChanged);
}

void MacModel::setLastSync(const std::optional<QDateTime> &time)
{
    update(m_lastSync, time, &MacModel::lastSyncChanged);
}

void MacModel::setClipboardLink(const std::optional<QString> &text)
{
    update(m_clipboardLink, text, &MacModel::clipboardLinkChanged);
}

void MacModel::setActivationPolicy(ActivationPolicy policy)
{
    update(m_activationPolicy, policy, &MacModel::activationPolicyChanged);
}

void MacModel::show(const QString &message)
{
    setToast(message);
    startDetached(clearToastLater(message), QStringLiteral("toast"));
}

QCoro::Task<> MacModel::realWait(std::chrono::milliseconds duration)
{
    co_await QCoro::sleepFor(duration);
}

QCoro::Task<> MacModel::clearToastLater(QString message)
{
    QPointer<MacModel> self(this);
    co_await m_delays.wait(m_delays.toast);
    // A newer message keeps its own full time.
    if (self && m_toast == message)
        setToast(std::nullopt);
}

void MacModel::openMainWindow()
{
    setActivationPolicy(ActivationPolicy::regular);
    const auto windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (window->objectName().startsWith(mainWindowPrefix) && window->isVisible()) {
            // A window closed to its taskbar entry waits minimised.
            window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
            window->raise();
            window->requestActivate();
            return;
        }
    }
    if (m_openWindowAction)
        m_openWindowAction(mainWindowPrefix);
}

void MacModel::mainWindowClosed()
{
    const UserDefaults &defaults = TamselStore::defaults();
    if (defaults.boolObject(menuBarEnabledKey, true) && defaults.boolObject(menuBarHideDockKey, true))
        startDetached(hideDockIconLater(), QStringLiteral("hiding the taskbar entry"));
}

QCoro::Task<> MacModel::hideDockIconLater()
{
    QPointer<MacModel> self(this);
    co_await m_delays.wait(m_delays.mainWindowClosed);
    if (!self)
        co_return;
    const auto windows = QGuiApplication::topLevelWindows();
    if (std::none_of(windows.cbegin(), windows.cend(), canBecomeMain))
        setActivationPolicy(ActivationPolicy::accessory);
}

void MacModel::applicationStateChanged(Qt::ApplicationState state)
{
    const bool active = state == Qt::ApplicationActive;
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        startDetached(becameActive(), QStringLiteral("activation"));
    else
        startDetached(resignedActive(), QStringLiteral("deactivation"));
}

QCoro::Task<> MacModel::becameActive()
{
    QPointer<MacModel> self(this);
    checkClipboard();
    co_await sync(false);
    if (self)
        co_await repair();
}

QCoro::Task<> MacModel::resignedActive()
{
    // The private space locks as soon as the user turns to another application.
    setPrivateUnlocked(false);
    co_await sync(false);
}

void MacModel::timerFired()
{
    startDetached(
        [](QPointer<MacModel> self) -> QCoro::Task<> {
            co_await self->sync(false);
            if (self)
                self->checkClipboard();
        }(this),
        QStringLiteral("timed sync"));
}

void MacModel::aboutToQuit()
{
    // Deletes still undoable become final, so the last write leaves them out.
    m_pendingDelete->commit();
    // The event loop has ended: the last write is waited for here.
    QCoro::waitFor(syncBeforeQuit());
    // A copy of the store file made after quitting must be the whole library.
    m_container->close();
}

QCoro::Task<> MacModel::syncBeforeQuit()
{
    // No folder chosen yet is no failure: there is nothing to write to.
    if (!BackupFolder::isConfigured())
        co_return;
    try {
        auto cycle = BackupFolder::sync(m_container->mainContext(), false);
        co_await std::move(cycle);
    } catch (const std::exception &error) {
        qCWarning(tamselLog, "sync failed: %s", error.what());
    }
}

void MacModel::startDetached(QCoro::Task<> task, const QString &what)
{
    DetachedTask::start(std::move(task), what, tamselLog());
}

QCoro::Task<> MacModel::syncSoon(std::chrono::milliseconds delay, bool manual)
{
    QPointer<MacModel> self(this);
    co_await m_delays.wait(delay);
    if (self)
        co_await sync(manual);
}
