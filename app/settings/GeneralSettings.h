#pragma once

#include "SettingsForm.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

class DockIcon;
class IconChoice;
class MenuBarController;
class QCheckBox;
class QComboBox;
class QLabel;

// The general tab: appearance, interface language, the application's icon,
// the tray item, start at login, video downloads and duplicate links. The
// stored switches take effect through the settings they write.
class GeneralSettings : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettings(MenuBarController &menuBar, QWidget *parent = nullptr);

    // The open relaunch question, if any.
    QMessageBox *relaunchQuestion() const { return m_relaunchQuestion; }

private:
    void addLanguageRow(SettingsForm::Section &section);
    void addIconRow(SettingsForm::Section &section);
    void addMenuBarSection(SettingsForm &form);

    void chooseLanguage(int index);
    void relaunch();
    void chooseIcon(const DockIcon &icon);
    void showIcons();
    void setMenuBar(bool on);
    void setLaunchAtLogin(bool on);

    MenuBarController &m_menuBar;
    QComboBox *m_language = nullptr;
    QLabel *m_relaunchError = nullptr;
    QList<IconChoice *> m_iconChoices;
    QCheckBox *m_hideDock = nullptr;
    QCheckBox *m_launchAtLogin = nullptr;
    QLabel *m_loginError = nullptr;
    QPointer<QMessageBox> m_relaunchQuestion;
};
