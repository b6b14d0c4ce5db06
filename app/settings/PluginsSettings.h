#pragma once

#include "PluginInfo.h"

#include <QWidget>

class Plugins;
class QLabel;
class SettingsForm;

// The plug-ins tab: one row per registered plug-in, with an install button
// until it is installed and a link to its own settings page after. Follows
// the registry as plug-ins register, install and uninstall.
class PluginsSettings : public QWidget {
    Q_OBJECT
public:
    explicit PluginsSettings(Plugins &plugins, QWidget *parent = nullptr);

    // The open settings page of a plug-in, or none while the list shows.
    QWidget *page() const;
    // Opens the settings page of an installed plug-in, as its link does.
    void open(const PluginInfo &info);
    void back();

private:
    void rebuildList();
    QWidget *row(const PluginInfo &info) const;
    QWidget *entry(const PluginInfo &info);
    QWidget *settings(const PluginInfo &info);

    Plugins &m_plugins;
    QWidget *m_listPage;
    SettingsForm *m_list = nullptr;
    QWidget *m_pagePanel;
    QLabel *m_pageTitle;
    QWidget *m_page = nullptr;
};
