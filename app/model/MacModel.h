#pragma once

#include "Naming.h"
#include "SidebarItem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUuid>
#include <QCoro/QCoroTask>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class ModelContainer;
class PasswordCheck;
class Post;
class PostImporter;
class UndoableDelete;
namespace Sync {
struct Result;
}

// The one central object of the application: owns the store and the
// importer, holds the interface state that several windows share (toast,
// sheets and alerts, sync status, the clipboard's link, the private space's
// lock) and keeps the background rhythm: a sync when the application becomes
// active or inactive, every 60 seconds, and a last one before it quits.
// Every field notifies through its signal only when its value really changes.
// Main thread only.
class MacModel : public QObject {
    Q_OBJECT
public:
    using Naming = ::Naming;

    // The outcome of saving the clipboard's link from the tray item.
    struct MenuBarResult {
        enum class Kind { saved, duplicate, failed, noLink };

        static MenuBarResult saved(const QString &host) { return {Kind::saved, host}; }
        static MenuBarResult duplicate() { return {Kind::duplicate, {}}; }
        static MenuBarResult failed(const QString &message) { return {Kind::failed, message}; }
        static MenuBarResult noLink() { return {Kind::noLink, {}}; }

        bool operator==(const MenuBarResult &other) const = default;

        Kind kind;
        // The link's host for `saved`, the error's message for `failed`.
        QString text;
    };

    // Whether the application shows in the taskbar (regular) or lives on in
    // the tray only (accessory).
    enum class ActivationPolicy { regular, accessory };

    // The waits of the model's own timed work; tests shorten them.
    struct Delays {
        std::chrono::milliseconds toast{2500};
        std::chrono::milliseconds syncAfterSave{1000};
        std::chrono::milliseconds fetchLatest{8000};
        std::chrono::milliseconds mainWindowClosed{300};
        std::chrono::milliseconds timer{60000};
        // Waits out one of the delays; tests replace it to end each wait when they choose.
        std::function<QCoro::Task<>(std::chrono::milliseconds)> wait = realWait;
    };

    // Opens a window of the given identifier ("main").
    using OpenWindowAction = std::function<void(const QString &identifier)>;
    // Asks the user for the login password, giving the reason; nothing when
    // the user cancels.
    using PasswordPrompt = std::function<std::optional<QString>(const QString &reason)>;

    // The application's instance, made on first use with the login-password check.
    static MacModel &shared();
    // The "Kepsel" (or former "Plumvat") folder of the cloud drive, else the
    // drive itself; nothing without a cloud drive folder.
    static std::optional<QString> iCloudKepselFolder();
    // The "downloadVideos" setting: only a stored false turns it off.
    static bool downloadVideos();

    // Opens the library store on disk and starts the 60-second timer; the
    // private space unlocks with the login password.
    explicit MacModel(QObject *parent = nullptr);
    MacModel(std::unique_ptr<PasswordCheck> passwordCheck, Delays delays, QObject *parent = nullptr);
    ~MacModel() override;

    bool toolbarHidden() const { return m_toolbarHidden; }
    void setToolbarHidden(bool hidden);
    ModelContainer &container() const { return *m_container; }
    PostImporter &importer() const { return *m_importer; }
    const std::optional<QString> &toast() const { return m_toast; }
    void setToast(const std::optional<QString> &toast);
    bool showAdd() const { return m_showAdd; }
    void setShowAdd(bool show);
    const std::optional<Naming> &naming() const { return m_naming; }
    void setNaming(const std::optional<Naming> &naming);
    const QString &namingText() const { return m_namingText; }
    void setNamingText(const QString &text);
    const std::optional<SidebarItem> &deleting() const { return m_deleting; }
    void setDeleting(const std::optional<SidebarItem> &item);
    bool privateUnlocked() const { return m_privateUnlocked; }
    bool syncing() const { return m_syncing; }
    const std::optional<QString> &syncError() const { return m_syncError; }
    const std::optional<QDateTime> &lastSync() const { return m_lastSync; }
    const std::optional<QString> &clipboardLink() const { return m_clipboardLink; }
    void setClipboardLink(const std::optional<QString> &text);
    UndoableDelete &pendingDelete() const { return *m_pendingDelete; }
    ActivationPolicy activationPolicy() const { return m_activationPolicy; }
    const OpenWindowAction &openWindowAction() const { return m_openWindowAction; }
    void setOpenWindowAction(OpenWindowAction action) { m_openWindowAction = std::move(action); }
    const std::function<void()> &openSettingsWindow() const { return m_openSettingsWindow; }
    void setOpenSettingsWindow(std::function<void()> action) { m_openSettingsWindow = std::move(action); }
    void setPasswordPrompt(PasswordPrompt prompt) { m_passwordPrompt = std::move(prompt); }

    // Shows a message and clears it after 2.5 s unless a newer one replaced it.
    void show(const QString &message);
    // Brings the visible main window (a window whose object name begins
    // with "main") to the front, or opens it through the window action.
    void openMainWindow();
    // The main window is closing: with the tray item on and the taskbar entry
    // to be hidden, the application turns to the tray only shortly after,
    // unless another window is still visible.
    void mainWindowClosed();

    // Syncs the shared folder when a folder is set, the sync is manual or
    // automatic backup is on, and no sync runs; never throws.
    QCoro::Task<> sync(bool manual);
    // Finishes what is left undone: unparsed posts, missing media, queued and
    // stale channel messages.
    QCoro::Task<> repair();
    // Adopts the folder the user chose and syncs it at once.
    void useFolder(const QString &url);

    // Saves the text's link and says so; the post, or null when refused.
    std::shared_ptr<Post> importText(const QString &text);
    // Offers the clipboard's text while it holds a link not yet saved.
    void checkClipboard();
    // Saves the offered link, or the clipboard's text.
    void collectClipboard();
    // Saves the clipboard's link without a toast; the tray item reports it.
    MenuBarResult collectFromMenuBar();
    // The host of the clipboard's link while that link is not yet saved.
    std::optional<QString> clipboardPreview() const;
    // Files the posts into a board or a tag, or archives them; whether the
    // drop was taken.
    bool file(const QList<QUuid> &ids, const SidebarItem &into);

    // Applies the naming alert; the new tag or board for the caller to select.
    std::optional<SidebarItem> commitName();
    // Deletes the board or tag awaiting confirmation; its posts stay.
    void commitDelete();
    // Unlocks the private space until the application next turns inactive.
    QCoro::Task<> unlockPrivate();
    void setPrivate(const QList<std::shared_ptr<Post>> &posts, bool isPrivate);
    // Parses the post again in the background.
    void reparse(const std::shared_ptr<Post> &post);
    // Sends one post to the channel now and says how it went.
    QCoro::Task<> syncToTelegram(std::shared_ptr<Post> post);

public slots:
    // Connected to QGuiApplication::applicationStateChanged.
    void applicationStateChanged(Qt::ApplicationState state);
    // Connected to QCoreApplication::aboutToQuit: commits pending deletes,
    // runs one last folder sync and closes the store before the process ends.
    void aboutToQuit();
    // Each run of the 60-second timer.
    void timerFired();

signals:
    void toolbarHiddenChanged();
    void toastChanged();
    void showAddChanged();
    void namingChanged();
    void namingTextChanged();
    void deletingChanged();
    void privateUnlockedChanged();
    void syncingChanged();
    void syncErrorChanged();
    void lastSyncChanged();
    void clipboardLinkChanged();
    void activationPolicyChanged();

private:
    static QCoro::Task<> realWait(std::chrono::milliseconds duration);
    static void adoptFolder(const QString &folder);
    void chooseCloudFolderOnce();
    void deleteNow(const QList<std::shared_ptr<Post>> &posts);
    QCoro::Task<> deleteFromChannel(QList<qint64> ids, QStringList keys);
    QCoro::Task<> removeFromChannel(QList<std::shared_ptr<Post>> posts);
    QCoro::Task<> receive(const Sync::Result &result, bool manual);
    void announce(const Sync::Result &result, bool manual);
    QCoro::Task<> becameActive();
    QCoro::Task<> resignedActive();
    QCoro::Task<> syncSoon(std::chrono::milliseconds delay, bool manual);
    QCoro::Task<> clearToastLater(QString message);
    QCoro::Task<> hideDockIconLater();
    QCoro::Task<> syncBeforeQuit();
    void startDetached(QCoro::Task<> task, const QString &what);

    template <typename T> void update(T &field, const T &value, void (MacModel::*changed)());
    void setPrivateUnlocked(bool unlocked);
    void setSyncing(bool syncing);
    void setSyncError(const std::optional<QString> &error);
    void setLastSync(const std::optional<QDateTime> &time);
    void setActivationPolicy(ActivationPolicy policy);

    Delays m_delays;
    std::unique_ptr<PasswordCheck> m_passwordCheck;
    std::unique_ptr<ModelContainer> m_container;
    std::unique_ptr<UndoableDelete> m_pendingDelete;
    std::unique_ptr<PostImporter> m_importer;
    bool m_toolbarHidden = false;
    std::optional<QString> m_toast;
    bool m_showAdd = false;
    std::optional<Naming> m_naming;
    QString m_namingText;
    std::optional<SidebarItem> m_deleting;
    bool m_privateUnlocked = false;
    bool m_syncing = false;
    std::optional<QString> m_syncError;
    std::optional<QDateTime> m_lastSync;
    std::optional<QString> m_clipboardLink;
    bool m_repairing = false;
    int m_lastChangeCount = -1;
    bool m_active = false;
    ActivationPolicy m_activationPolicy = ActivationPolicy::regular;
    QTimer m_timer;
    OpenWindowAction m_openWindowAction;
    std::function<void()> m_openSettingsWindow;
    PasswordPrompt m_passwordPrompt;
};
