#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

class Plugins;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The Telegram plug-in's page: the channel switch, bot token and channel,
// the two sync switches, and uninstalling. Every control writes its setting
// as typed; the channel sync trims and checks the values when it reads them.
class TelegramSettings : public QWidget {
    Q_OBJECT
public:
    explicit TelegramSettings(Plugins &plugins, QWidget *parent = nullptr);

    QCheckBox *enabledSwitch() const { return m_enabled; }
    QLineEdit *tokenField() const { return m_token; }
    QLineEdit *chatField() const { return m_chat; }
    QCheckBox *autoSyncSwitch() const { return m_autoSync; }
    QCheckBox *deleteSyncSwitch() const { return m_deleteSync; }
    QPushButton *uninstallButton() const { return m_uninstall; }
    // The open uninstall confirmation, if any.
    QMessageBox *confirmation() const { return m_confirmation; }

signals:
    // The plug-in was uninstalled: the page should be left.
    void dismissed();

private:
    void confirmUninstall();

    Plugins &m_plugins;
    QCheckBox *m_enabled;
    QLineEdit *m_token;
    QLineEdit *m_chat;
    QCheckBox *m_autoSync;
    QCheckBox *m_deleteSync;
    QPushButton *m_uninstall;
    QPointer<QMessageBox> m_confirmation;
};
