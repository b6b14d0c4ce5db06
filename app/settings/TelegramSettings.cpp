#include "TelegramSettings.h"

#include "Plugins.h"
#include "SettingsForm.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramModule.h"
#include "Theme.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *storedField(const QString &key)
{
    auto *field = new QLineEdit;
    field->setText(TamselStore::defaults().string(key).value_or(QString()));
    field->setMinimumWidth(260);
    QObject::connect(field, &QLineEdit::textEdited,
                     [key](const QString &text) { TamselStore::defaults().setString(key, text); });
    return field;
}

// The red of a button that removes something, readable on the button in
// either appearance: the light one's red is too dark on a dark button.
const Theme::Color destructiveRed{"#D70015", "#FF8F87"};

void paintDestructive(QPushButton *button)
{
    const auto tint = [button] {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, destructiveRed.resolved(button->palette()));
        button->setPalette(palette);
    };
    Theme::paintAndFollow(button, tint);
}

} // namespace

TelegramSettings::TelegramSettings(Plugins &plugins, QWidget *parent)
    : QWidget(parent), m_plugins(plugins),
      m_enabled(SettingsForm::storedSwitch(tr("同步到 Telegram 频道"), SettingsKey::telegramEnabled, false)),
      m_token(storedField(SettingsKey::telegramToken)), m_chat(storedField(SettingsKey::telegramChatID)),
      m_autoSync(SettingsForm::storedSwitch(tr("在这台电脑上新收藏的内容自动发到频道"),
                                            SettingsKey::telegramAutoSync, true)),
      m_deleteSync(SettingsForm::storedSwitch(tr("删除收藏时同时删除频道里的消息"),
                                              SettingsKey::telegramDeleteSync, true)),
      m_uninstall(new QPushButton(tr("卸载插件…")))
{
    m_token->setEchoMode(QLineEdit::Password);
    m_chat->setPlaceholderText(tr("@channel 或 -100…"));

    auto *form = new SettingsForm(this);
    SettingsForm::Section *channel = form->addSection();
    channel->addRow(m_enabled);
    channel->addLabelledRow(tr("Bot Token"), m_token);
    channel->addLabelledRow(tr("频道"), m_chat);

    SettingsForm::Section *sync = form->addSection();
    sync->addRow(m_autoSync);
    sync->addRow(m_deleteSync);
    sync->setFooter(SettingsForm::caption(tr("从 iPhone 同步过来的收藏不会在这台电脑上再发一次。"
                                             "设置过同步文件夹后，会自动沿用 iPhone 上的配置。")));

    form->addSection()->addRow(m_uninstall);
    paintDestructive(m_uninstall);
    connect(m_uninstall, &QPushButton::clicked, this, &TelegramSettings::confirmUninstall);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

void TelegramSettings::confirmUninstall()
{
    m_confirmation =
        new QMessageBox(QMessageBox::Warning, TelegramModule::info().name,
                        tr("卸载「%1」？").arg(TelegramModule::info().name), QMessageBox::Cancel, this);
    m_confirmation->setInformativeText(tr("新收藏不再同步到频道，删除收藏时也不会再删频道里的消息。"
                                          "已经发到频道的消息会保留，Bot 和频道设置也会保留。"));
    m_confirmation->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *uninstall = m_confirmation->addButton(tr("卸载"), QMessageBox::DestructiveRole);
    connect(uninstall, &QPushButton::clicked, this, [this] {
        m_plugins.setInstalled(TelegramModule::info().id, false);
        emit dismissed();
    });
    m_confirmation->open();
}
