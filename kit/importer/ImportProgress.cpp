#include "ImportProgress.h"

#include <algorithm>

namespace {
// A video is usually far larger than an image, so it moves the bar more.
constexpr double videoWeight = 10.0;
constexpr double imageWeight = 1.0;

double itemFraction(qint64 received, qint64 expected)
{
    if (expected >= 1)
        return double(received) / double(expected);
    // No size announced, but bytes are arriving.
    return received >= 1 ? 0.5 : 0.0;
}
} // namespace

ImportProgress::ImportProgress(QObject *parent) : QObject(parent) {}

ImportProgress &ImportProgress::shared()
{
    static ImportProgress instance;
    return instance;
}

std::optional<ImportProgress::Phase> ImportProgress::phase(const QUuid &post) const
{
    const auto found = m_phases.constFind(post);
    if (found == m_phases.constEnd())
        return std::nullopt;
    return *found;
}

bool ImportProgress::isDownloading(const QUuid &post, const QUuid &media) const
{
    const auto table = m_items.constFind(post);
    if (table == m_items.constEnd())
        return false;
    const auto entry = table->constFind(media);
    return entry != table->constEnd() && !entry->ended;
}

void ImportProgress::startParsing(const QUuid &post)
{
    setPhase(post, Phase::parsing());
}

void ImportProgress::startDownloading(const QUuid &post, const QList<DownloadItem> &media)
{
    if (media.isEmpty()) {
        finish(post);
        return;
    }
    ItemTable table;
    for (const DownloadItem &entry : media)
        table.insert(entry.id, Item{0, 0, entry.isVideo ? videoWeight : imageWeight});
    m_items.insert(post, table);
    setPhase(post, Phase::downloading(0.0));
}

void ImportProgress::update(const QUuid &post, const QUuid &media, qint64 received, qint64 expected)
{
    Item *entry = item(post, media);
    if (!entry)
        return;
    entry->received = received;
    entry->expected = expected;
    recompute(post);
}

void ImportProgress::complete(const QUuid &post, const QUuid &media)
{
    Item *entry = item(post, media);
    if (!entry)
        return;
    const qint64 whole = std::max({entry->received, entry->expected, qint64(1)});
    entry->received = whole;
    entry->expected = whole;
    entry->ended = true;
    recompute(post);
}

void ImportProgress::finish(const QUuid &post)
{
    m_phases.remove(post);
    m_items.remove(post);
    emit phasesChanged(post);
}

ImportProgress::Item *ImportProgress::item(const QUuid &post, const QUuid &media)
{
    const auto table = m_items.find(post);
    if (table == m_items.end())
        return nullptr;
    const auto entry = table->find(media);
    return entry == table->end() ? nullptr : &*entry;
}

void ImportProgress::recompute(const QUuid &post)
{
    const auto table = m_items.constFind(post);
    if (table == m_items.constEnd())
        return;
    double weighted = 0;
    double weights = 0;
    for (const Item &entry : *table) {
        weighted += entry.weight * itemFraction(entry.received, entry.expected);
        weights += entry.weight;
    }
    const double fraction = weights > 0 ? std::min(weighted / weights, 1.0) : 0.0;
    setPhase(post, Phase::downloading(fraction));
}

void ImportProgress::setPhase(const QUuid &post, const Phase &phase)
{
    m_phases.insert(post, phase);
    emit phasesChanged(post);
}
