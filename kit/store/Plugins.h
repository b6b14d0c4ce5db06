#pragma once

#include "PluginInfo.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <functional>

// Registry of the optional plug-ins and which of them the user installed.
// The installed set survives restarts in the settings; the registrations are
// made anew by each plug-in at start. Main thread only.
class Plugins : public QObject {
    Q_OBJECT
public:
    using OnChange = std::function<void(bool installed)>;

    static const QString installedKey;
    static const QString seenKeyPrefix;

    // Reads the installed set from the settings.
    explicit Plugins(QObject *parent = nullptr);

    static Plugins &shared();

    // Asks the settings directly, so it works before and without the registry.
    static bool isInstalledInSettings(const QString &id);

    const QList<PluginInfo> &available() const { return m_available; }
    const QSet<QString> &installed() const { return m_installed; }
    bool isInstalled(const QString &id) const { return m_installed.contains(id); }

    // The first description of an id stays; the latest callback replaces any
    // earlier one.
    void registerPlugin(const PluginInfo &info, OnChange onChange);
    void setInstalled(const QString &id, bool on);
    // Installs the plug-in the first time its id is ever seen, when condition
    // holds; later calls do nothing, so an uninstall by the user sticks.
    void installOnce(const QString &id, bool condition);

signals:
    void availableChanged();
    void installedChanged();

private:
    QList<PluginInfo> m_available;
    QSet<QString> m_installed;
    QHash<QString, OnChange> m_onChange;
};
