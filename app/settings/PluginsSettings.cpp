#include "PluginsSettings.h"

#include "Plugins.h"
#include "ProminentButton.h"
#include "SettingsForm.h"
#include "Symbol.h"
#include "TelegramModule.h"
#include "TelegramSettings.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Clicks on the row's labels reach the button the row lies in.
void passClicksThrough(QWidget *row)
{
    for (QWidget *child : row->findChildren<QWidget *>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
}

} // namespace

PluginsSettings::PluginsSettings(Plugins &plugins, QWidget *parent)
    : QWidget(parent), m_plugins(plugins), m_listPage(new QWidget(this)), m_pagePanel(new QWidget(this)),
      m_pageTitle(new QLabel)
{
    new QVBoxLayout(m_listPage);
    m_listPage->layout()->setContentsMargins(0, 0, 0, 0);

    auto *back = new QToolButton;
    back->setText(QStringLiteral("‹"));
    back->setAutoRaise(true);
    back->setObjectName(QStringLiteral("back"));
    connect(back, &QToolButton::clicked, this, &PluginsSettings::back);
    m_pageTitle->setFont(Typography::callout(font(), QFont::DemiBold));
    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(12, 8, 12, 0);
    bar->addWidget(back);
    bar->addWidget(m_pageTitle, 1);
    auto *panel = new QVBoxLayout(m_pagePanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(bar);

    // One of the two shows at a time; the hidden one takes no room, so the
    // tab is as tall as what it shows.
    m_pagePanel->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_listPage);
    layout->addWidget(m_pagePanel);

    connect(&m_plugins, &Plugins::availableChanged, this, &PluginsSettings::rebuildList);
    connect(&m_plugins, &Plugins::installedChanged, this, &PluginsSettings::rebuildList);
    rebuildList();
}

QWidget *PluginsSettings::page() const
{
    return m_pagePanel->isHidden() ? nullptr : m_page;
}

void PluginsSettings::open(const PluginInfo &info)
{
    delete m_page;
    m_page = settings(info);
    m_pageTitle->setText(info.name);
    m_pagePanel->layout()->addWidget(m_page);
    m_listPage->hide();
    m_pagePanel->show();
}

void PluginsSettings::back()
{
    m_pagePanel->hide();
    m_listPage->show();
    // The page may hold the button whose click brought us here.
    if (m_page)
        m_page->deleteLater();
    m_page = nullptr;
}

void PluginsSettings::rebuildList()
{
    // The list may hold the button whose click brought us here.
    if (m_list) {
        m_list->hide();
        m_list->deleteLater();
    }
    m_list = new SettingsForm(m_listPage);
    SettingsForm::Section *section = m_list->addSection();
    for (const PluginInfo &info : m_plugins.available())
        section->addRow(entry(info));
    section->setFooter(SettingsForm::caption(tr("插件是可选功能，不装也不影响收藏、整理和同步。"
                                                "点开已安装的插件可以设置或卸载；卸载后设置会保留，"
                                                "重新安装就能接着用。")));
    m_listPage->layout()->addWidget(m_list);
}

QWidget *PluginsSettings::row(const PluginInfo &info) const
{
    auto *content = new QWidget;
    // Inside the link button of an installed plug-in the labels would take
    // the button's text colour, and the summary would lose its fading.
    content->setBackgroundRole(QPalette::Window);
    auto *icon = new QLabel(content);
    icon->setPixmap(
        Symbol::pixmap(info.systemImage, 22, Theme::accent().resolved(palette()), 1, devicePixelRatioF()));
    icon->setFixedWidth(28);
    icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *name = new QLabel(info.name, content);
    name->setFont(Typography::callout(font(), QFont::DemiBold));
    auto *summary = SettingsForm::caption(info.summary, content);
    summary->setFont(Typography::callout(font()));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(name);
    texts->addWidget(summary);

    auto *layout = new QHBoxLayout(content);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(12);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);
    return content;
}

QWidget *PluginsSettings::entry(const PluginInfo &info)
{
    if (m_plugins.isInstalled(info.id)) {
        auto *link = new QPushButton;
        link->setObjectName(QStringLiteral("link:") + info.id);
        link->setFlat(true);
        auto *layout = new QHBoxLayout(link);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(row(info), 1);
        layout->addWidget(new QLabel(QStringLiteral("›")));
        passClicksThrough(link);
        // A button keeps its own fixed height; this one is as tall as its row.
        link->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        connect(link, &QPushButton::clicked, this, [this, info] { open(info); });
        return link;
    }
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(row(info), 1);
    auto *install = new ProminentButton(tr("安装"));
    install->setObjectName(QStringLiteral("install:") + info.id);
    install->setDefault(true);
    connect(install, &QPushButton::clicked, this, [this, id = info.id] { m_plugins.setInstalled(id, true); });
    layout->addWidget(install, 0, Qt::AlignVCenter);
    return line;
}

QWidget *PluginsSettings::settings(const PluginInfo &info)
{
    if (info.id != TelegramModule::info().id)
        return new QWidget;
    auto *page = new TelegramSettings(m_plugins);
    connect(page, &TelegramSettings::dismissed, this, &PluginsSettings::back);
    return page;
}
