#pragma once

#include "MediaItemView.h"

class Motion;
class PlayerView;
class StillImage;
class QToolButton;

// A live photo: its still with the short clip laid over it. The clip plays
// once from the start when the photo comes on stage, when the pointer enters
// the picture and when the LIVE badge is clicked, and never loops; the still shows
// again when it ends or the pointer leaves. It plays muted unless the user
// turned live-photo sound on with the speaker button, which is offered only
// for a clip with a sound track; that choice holds for every live photo.
class LivePhotoView : public MediaItemView {
    Q_OBJECT
public:
    static const QString soundKey;

    LivePhotoView(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent = nullptr);

    // Starts the clip from its beginning, only while the photo is on stage
    // and the clip is not already running.
    void play();
    bool isPlaying() const { return m_playing; }
    // None before the photo was shown or when it has no clip to play.
    PlayerView *playerView() const { return m_player; }
    QToolButton *speaker() const { return m_speaker; }
    // How much of the clip shows over the still, from 0 to 1.
    qreal clipOpacity() const;
    QToolButton *badge() const { return m_badge; }
    StillImage *still() const { return m_still; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void currentChanged() override;

private:
    void makePlayer();
    void hover(const QPoint &pointer);
    void stop();
    void setPlaying(bool playing);
    void showClip();
    void showBadge(qreal opacity);
    void showColours();
    void toggleSound();
    void showSound();
    void placeBadges();
    QRect pictureRect() const;

    StillImage *m_still;
    PlayerView *m_player = nullptr;
    // How much of the clip shows over the still, from 0 to 1.
    Motion *m_shown;
    QToolButton *m_badge;
    QToolButton *m_speaker;
    bool m_tried = false;
    bool m_playing = false;
    bool m_pointerOnPicture = false;
};
