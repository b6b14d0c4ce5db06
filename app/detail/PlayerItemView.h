#pragma once

#include "MediaItemView.h"

class PlayerView;
class StillImage;
class QGridLayout;

// A page that plays a video, or an audio item under its cover. The player is
// made when the page is first shown, not when it is built, and keeps its
// position while the page exists; it pauses when the page leaves the stage
// or is hidden. Until then, and when there is nothing to play, the video's
// still stands in, shown as a picture page shows it.
class PlayerItemView : public MediaItemView {
    Q_OBJECT
public:
    PlayerItemView(std::shared_ptr<Media> media, bool isCurrent, bool audio, QWidget *parent = nullptr);

    // None before the page was shown or when the item has nothing to play.
    PlayerView *playerView() const { return m_player; }
    // The video's poster, or the song's cover.
    StillImage *still() const { return m_still; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void currentChanged() override;

private:
    void makePlayer();
    void placeColumn();
    void pause();

    bool m_audio;
    bool m_tried = false;
    StillImage *m_still;
    PlayerView *m_player = nullptr;
    QGridLayout *m_layout;
};
