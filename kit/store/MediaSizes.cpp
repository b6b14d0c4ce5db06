#include "MediaSizes.h"

#include "TamselStore.h"

namespace {
std::optional<bool> &cachedReady()
{
    static std::optional<bool> value;
    return value;
}
} // namespace

const QString MediaSizes::settingKey = QStringLiteral("mediaSizesRecorded");

bool MediaSizes::ready()
{
    auto &cached = cachedReady();
    if (!cached)
        cached = TamselStore::defaults().boolValue(settingKey);
    return *cached;
}

void MediaSizes::setCachedReady(std::optional<bool> value)
{
    cachedReady() = value;
}
