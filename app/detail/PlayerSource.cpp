#include "PlayerSource.h"

#include "KitLog.h"
#include "Media.h"
#include "MediaDownloader.h"
#include "MediaRelay.h"
#include "Post.h"

#include <QMediaPlayer>

std::unique_ptr<PlayerSource> PlayerSource::make(const Media &media)
{
    std::unique_ptr<PlayerSource> source(new PlayerSource);
    if (const auto path = media.videoDataFilePath()) {
        source->m_file.setFileName(*path);
        if (source->m_file.open(QIODevice::ReadOnly))
            return source;
    }
    if (media.videoRemoteURL().isEmpty())
        return nullptr;
    const auto post = media.post();
    const Platform platform = post ? post->platform() : Platform(Platform::web);
    try {
        source->m_relay = std::make_unique<MediaRelay>(
            MediaDownloader::request(media.videoRemoteURL(), platform, MediaDownloader::videoTimeout));
    } catch (const std::exception &error) {
        qCInfo(tamselLog) << "media link refused:" << error.what();
        return nullptr;
    }
    return source;
}

PlayerSource::~PlayerSource() = default;

void PlayerSource::attach(QMediaPlayer &player)
{
    if (m_relay)
        player.setSource(m_relay->url());
    else
        // The player takes no device without a link, which only names the source here.
        player.setSourceDevice(&m_file, QUrl::fromLocalFile(m_file.fileName()));
}
