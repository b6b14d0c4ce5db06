#pragma once

#include <QCoroTask>
#include <QString>
#include <optional>

class ModelContext;

// Whether media records' byte counts can be trusted: once the counts have
// been recorded, media tests read the counts instead of loading the bytes.
class MediaSizes {
public:
    static const QString settingKey;

    // Read once per process from the setting, then kept.
    static bool ready();
    // Replaces the kept value; nothing means "read the setting again".
    static void setCachedReady(std::optional<bool> value);

    // Records the byte counts that are still 0 on every media record of the
    // context, once per library, yielding to the event loop every ten
    // records. Becomes ready only after the counts were saved, so a failed
    // run is tried again instead of leaving bytes that read as missing.
    // Never throws; a second call while one runs returns at once.
    static QCoro::Task<> backfillIfNeeded(ModelContext &context);
};
