#include "GeneralSettings.h"

#include "AppLanguage.h"
#include "DockIcon.h"
#include "IconChoice.h"
#include "MenuBarController.h"
#include "MenuBarSettings.h"
#include "SettingsKey.h"
#include "TamselStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString iconKey = QStringLiteral("macAppIcon");
const QString menuBarKey = QStringLiteral("menuBarEnabled");
const QString hideDockKey = QStringLiteral("menuBarHideDock");

QComboBox *appearancePicker()
{
    auto *picker = new QComboBox;
    picker->addItem(GeneralSettings::tr("跟随系统"), QStringLiteral("system"));
    picker->addItem(GeneralSettings::tr("浅色"), QStringLiteral("light"));
    picker->addItem(GeneralSettings::tr("深色"), QStringLiteral("dark"));
    const QString stored = TamselStore::defaults().string(SettingsKey::appearance).value_or("system");
    picker->setCurrentIndex(std::max(0, picker->findData(stored)));
    QObject::connect(picker, &QComboBox::activated, [picker](int index) {
        TamselStore::defaults().setString(SettingsKey::appearance, picker->itemData(index).toString());
    });
    return picker;
}

} // namespace

GeneralSettings::GeneralSettings(MenuBarController &menuBar, QWidget *parent)
    : QWidget(parent), m_menuBar(menuBar)
{
    auto *form = new SettingsForm(this);
    SettingsForm::Section *main = form->addSection();
    main->addLabelledRow(tr("外观"), appearancePicker());
    addLanguageRow(*main);
    addIconRow(*main);
    addMenuBarSection(*form);
    SettingsForm::Section *imports = form->addSection();
    imports->addRow(SettingsForm::storedSwitch(tr("下载视频文件（关闭后只存封面，播放时在线加载）"),
                                               SettingsKey::downloadVideos, true));
    QCheckBox *duplicates =
        SettingsForm::storedSwitch(tr("允许重复收藏同一个链接"), SettingsKey::allowDuplicates, false);
    duplicates->setObjectName(QStringLiteral("allowDuplicates"));
    imports->addRow(duplicates);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

void GeneralSettings::addLanguageRow(SettingsForm::Section &section)
{
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("language"));
    // The languages' own names are never translated.
    m_language->addItem(tr("跟随系统"), int(AppLanguage::system));
    m_language->addItem(QStringLiteral("中文"), int(AppLanguage::zh));
    m_language->addItem(QStringLiteral("English"), int(AppLanguage::en));
    m_language->setCurrentIndex(m_language->findData(int(AppLanguage::current().value())));
    // Only a change asks to reopen: choosing the shown language again does nothing.
    connect(m_language, &QComboBox::currentIndexChanged, this, &GeneralSettings::chooseLanguage);
    section.addLabelledRow(tr("语言"), m_language);
    m_relaunchError = SettingsForm::warning();
    m_relaunchError->setObjectName(QStringLiteral("relaunchError"));
    m_relaunchError->hide();
    section.addRow(m_relaunchError);
}

void GeneralSettings::chooseLanguage(int index)
{
    AppLanguage(AppLanguage::Value(m_language->itemData(index).toInt())).apply();
    m_relaunchQuestion = new QMessageBox(QMessageBox::Question, QString(), tr("重新打开 Kepsel 后切换语言"),
                                         QMessageBox::NoButton, this);
    m_relaunchQuestion->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *now = m_relaunchQuestion->addButton(tr("立即重新打开"), QMessageBox::AcceptRole);
    m_relaunchQuestion->addButton(tr("稍后"), QMessageBox::RejectRole);
    connect(now, &QPushButton::clicked, this, &GeneralSettings::relaunch);
    m_relaunchQuestion->open();
}

void GeneralSettings::relaunch()
{
    const std::optional<QString> failure = AppLanguage::relaunch(QCoreApplication::applicationFilePath());
    m_relaunchError->setVisible(failure.has_value());
    if (failure)
        m_relaunchError->setText(tr("无法重新打开 Kepsel：%1").arg(*failure));
}

void GeneralSettings::addIconRow(SettingsForm::Section &section)
{
    auto *icons = new QWidget;
    auto *row = new QHBoxLayout(icons);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(18);
    for (const DockIcon::Value value : {DockIcon::basket, DockIcon::glow}) {
        auto *choice = new IconChoice(value, icons);
        choice->setObjectName(QStringLiteral("icon:") + DockIcon(value).rawValue());
        connect(choice, &IconChoice::clicked, this, [this, choice] { chooseIcon(choice->icon()); });
        row->addWidget(choice);
        m_iconChoices.append(choice);
    }
    section.addLabelledRow(tr("App 图标"), icons);
    showIcons();
}

void GeneralSettings::chooseIcon(const DockIcon &icon)
{
    TamselStore::defaults().setString(iconKey, icon.rawValue());
    DockIcon::applyCurrent();
    showIcons();
}

void GeneralSettings::showIcons()
{
    // Only an exact raw value counts as chosen; none stored is the basket.
    const QString stored =
        TamselStore::defaults().string(iconKey).value_or(DockIcon(DockIcon::basket).rawValue());
    for (IconChoice *choice : std::as_const(m_iconChoices))
        choice->setChecked(choice->icon().rawValue() == stored);
}

void GeneralSettings::addMenuBarSection(SettingsForm &form)
{
    SettingsForm::Section *section = form.addSection(tr("托盘"));
    QCheckBox *menuBar = SettingsForm::storedSwitch(tr("在托盘显示 Kepsel"), menuBarKey, true);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    m_hideDock = SettingsForm::storedSwitch(tr("关闭窗口后只留在托盘（不占任务栏）"), hideDockKey, true);
    m_hideDock->setObjectName(QStringLiteral("hideDock"));
    m_hideDock->setEnabled(menuBar->isChecked());
    connect(menuBar, &QCheckBox::toggled, this, &GeneralSettings::setMenuBar);

    m_launchAtLogin = new QCheckBox(tr("登录时自动打开"));
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLogin"));
    m_launchAtLogin->setChecked(MenuBarSettings::launchesAtLogin());
    connect(m_launchAtLogin, &QCheckBox::toggled, this, &GeneralSettings::setLaunchAtLogin);
    m_loginError = SettingsForm::warning();
    m_loginError->setObjectName(QStringLiteral("loginError"));
    m_loginError->hide();

    section->addRow(menuBar);
    section->addRow(m_hideDock);
    section->addRow(m_launchAtLogin);
    section->addRow(m_loginError);
    section->setFooter(SettingsForm::caption(tr("点一下托盘的篮子图标，就把剪贴板里的链接收藏进来；"
                                                "右键（或按住 Ctrl 点）打开菜单。关掉窗口后 Kepsel "
                                                "在后台继续运行和同步。")));
}

void GeneralSettings::setMenuBar(bool on)
{
    m_hideDock->setEnabled(on);
    if (MenuBarSettings::enabled())
        m_menuBar.install();
    else
        m_menuBar.remove();
}

void GeneralSettings::setLaunchAtLogin(bool on)
{
    try {
        MenuBarSettings::setLaunchAtLogin(on);
        m_loginError->hide();
    } catch (const MenuBarSettings::LoginItemError &error) {
        m_loginError->setText(QString::fromUtf8(error.what()));
        m_loginError->show();
        // Back to the real state without trying the opposite change, which
        // would clear the reason the user needs to see.
        const QSignalBlocker quiet(m_launchAtLogin);
        m_launchAtLogin->setChecked(MenuBarSettings::launchesAtLogin());
    }
}
