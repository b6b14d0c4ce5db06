#pragma once

#include <QString>
#include <optional>

// Whether media records' byte counts can be trusted: once the counts have
// been recorded, media tests read the counts instead of loading the bytes.
class MediaSizes {
public:
    static const QString settingKey;

    // Read once per process from the setting, then kept.
    static bool ready();
    // Replaces the kept value; nothing means "read the setting again".
    static void setCachedReady(std::optional<bool> value);
};
