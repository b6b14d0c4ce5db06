#include "Plugins.h"

#include "TamselStore.h"
#include "Text.h"

#include <algorithm>

namespace {
QSet<QString> storedInstalled()
{
    const QStringList ids = TamselStore::defaults().stringList(Plugins::installedKey).value_or(QStringList());
    return QSet<QString>(ids.cbegin(), ids.cend());
}
} // namespace

const QString Plugins::installedKey = QStringLiteral("installedPlugins");
const QString Plugins::seenKeyPrefix = QStringLiteral("pluginSeen.");

Plugins::Plugins(QObject *parent) : QObject(parent), m_installed(storedInstalled()) {}

Plugins &Plugins::shared()
{
    static Plugins instance;
    return instance;
}

bool Plugins::isInstalledInSettings(const QString &id)
{
    return storedInstalled().contains(id);
}

void Plugins::registerPlugin(const PluginInfo &info, OnChange onChange)
{
    const bool known = std::any_of(m_available.cbegin(), m_available.cend(),
                                   [&](const PluginInfo &entry) { return entry.id == info.id; });
    if (!known) {
        m_available.append(info);
        emit availableChanged();
    }
    m_onChange.insert(info.id, std::move(onChange));
}

void Plugins::setInstalled(const QString &id, bool on)
{
    if (on == m_installed.contains(id))
        return;
    if (on)
        m_installed.insert(id);
    else
        m_installed.remove(id);
    emit installedChanged();

    QStringList ids(m_installed.cbegin(), m_installed.cend());
    std::sort(ids.begin(), ids.end(), Text::scalarLess);
    TamselStore::defaults().setStringList(installedKey, ids);

    // A copy, so a callback that registers again cannot pull it from under us.
    const OnChange callback = m_onChange.value(id);
    if (callback)
        callback(on);
}

void Plugins::installOnce(const QString &id, bool condition)
{
    const QString seenKey = seenKeyPrefix + id;
    if (TamselStore::defaults().boolValue(seenKey))
        return;
    TamselStore::defaults().setBool(seenKey, true);
    if (condition)
        setInstalled(id, true);
}
