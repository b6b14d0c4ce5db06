#pragma once

#include <QFile>
#include <memory>

class Media;
class MediaRelay;
class QMediaPlayer;

// Where a player reads one item's video or sound: the store's own file of its
// downloaded bytes, opened for reading (no copy is written anywhere), else a
// relay to its remote link that adds the platform's request headers.
class PlayerSource {
public:
    // Nothing when the item has neither bytes nor a link that may be fetched
    // (a link that is no http or https link is refused).
    static std::unique_ptr<PlayerSource> make(const Media &media);
    ~PlayerSource();

    // Gives the player this source; the source must outlive its use.
    void attach(QMediaPlayer &player);

private:
    PlayerSource() = default;

    QFile m_file;
    std::unique_ptr<MediaRelay> m_relay;
};
