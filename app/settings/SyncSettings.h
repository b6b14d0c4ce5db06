#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class MacModel;
class QCheckBox;
class QLabel;
class SettingsForm;
class QProgressBar;
class QPushButton;

// The sync tab: the folder shared with the phone, automatic sync, the last
// sync with a button to sync at once, and the media backup. What it shows of
// the folder is read when the tab is made and after each change it makes.
class SyncSettings : public QWidget {
    Q_OBJECT
public:
    explicit SyncSettings(MacModel &model, QWidget *parent = nullptr);

    // The open folder chooser, if any.
    QFileDialog *chooser() const { return m_chooser; }

private:
    void buildFolderSection();
    void buildSyncSection();
    void buildMediaSection();

    void pick();
    // Where the folder chooser opens: the chosen folder, else the cloud
    // drive's, else the home folder.
    static QString startFolder();
    void choose(const QString &url);
    void setFolderSwitch(bool on);
    void readFolder();
    void showFolder();
    void showSyncState();
    void showMediaBackup();

    MacModel &m_model;
    SettingsForm *m_form;
    QPointer<QFileDialog> m_chooser;
    std::optional<QString> m_folder;
    std::optional<QString> m_folderPath;

    QCheckBox *m_folderSwitch = nullptr;
    QWidget *m_locationRow = nullptr;
    QLabel *m_folderName = nullptr;
    QLabel *m_folderPathLabel = nullptr;
    QLabel *m_footer = nullptr;
    QPushButton *m_pickButton = nullptr;
    QWidget *m_syncSection = nullptr;
    QProgressBar *m_spinner = nullptr;
    QLabel *m_lastSync = nullptr;
    QPushButton *m_syncButton = nullptr;
    QLabel *m_syncError = nullptr;
    QWidget *m_mediaSection = nullptr;
    QCheckBox *m_mediaSwitch = nullptr;
    QWidget *m_mediaRow = nullptr;
    QLabel *m_mediaLabel = nullptr;
    QLabel *m_mediaProgress = nullptr;
    QLabel *m_mediaError = nullptr;
};
