#include "MediaSizes.h"

#include "KitLog.h"
#include "Media.h"
#include "ModelContext.h"
#include "StoreError.h"
#include "TamselStore.h"

#include <QCoroTimer>
#include <QPointer>
#include <QScopeGuard>
#include <chrono>

namespace {
std::optional<bool> &cachedReady()
{
    static std::optional<bool> value;
    return value;
}

bool &running()
{
    static bool value = false;
    return value;
}

// A count already set is kept, even when it differs from the bytes.
void recordSizes(Media &media)
{
    if (media.dataSize() == 0) {
        if (const auto data = media.data())
            media.setDataSize(data->size());
    }
    if (media.videoSize() == 0) {
        if (const auto video = media.videoData())
            media.setVideoSize(video->size());
    }
}

// Lets the interface and other main-thread work run during a long pass.
QCoro::Task<> yieldToEventLoop()
{
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
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

QCoro::Task<> MediaSizes::backfillIfNeeded(ModelContext &context)
{
    if (ready() || running())
        co_return;
    running() = true;
    const auto done = qScopeGuard([] { running() = false; });

    QList<std::shared_ptr<Media>> records;
    try {
        records = context.fetch<Media>();
    } catch (const StoreError &) {
        co_return;
    }
    const QPointer<ModelContext> alive(&context);
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records[i]->isGone())
            continue;
        recordSizes(*records[i]);
        if (i % 10 == 9) {
            co_await yieldToEventLoop();
            if (!alive)
                co_return;
        }
    }
    try {
        context.save();
    } catch (const StoreError &) {
        co_return; // the counts stay in the context for the next save
    }
    TamselStore::defaults().setBool(settingKey, true);
    setCachedReady(true);
    qCInfo(tamselLog, "media sizes recorded for %ld items", long(records.size()));
}
