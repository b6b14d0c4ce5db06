#pragma once

#include <QHashFunctions>
#include <QString>

// Describes one optional plug-in; id is the key of all its settings.
struct PluginInfo {
    QString id;
    QString name;
    QString summary;
    QString systemImage;

    bool operator==(const PluginInfo &other) const = default;
};

inline size_t qHash(const PluginInfo &info, size_t seed = 0)
{
    return qHashMulti(seed, info.id, info.name, info.summary, info.systemImage);
}
