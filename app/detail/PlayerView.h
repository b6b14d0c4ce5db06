#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>
#include <memory>

class PlayerControls;
class PlayerSource;
class QLabel;

// Plays one video or sound. Frames come from a video sink and are painted
// here, fitted with their proportion kept, so the player can be grabbed,
// covered and faded like any widget. Bytes that cannot be played give a
// message in place of the picture and the controls.
class PlayerView : public QWidget {
    Q_OBJECT
public:
    enum class Style {
        video, // the picture over the control bar
        audio, // the control bar alone
        bare,  // the picture alone, for a live photo's clip
    };

    // How far up from its bottom edge a video's control bar reaches.
    static const int controlsReach;

    PlayerView(std::unique_ptr<PlayerSource> source, Style style, QWidget *parent = nullptr);
    ~PlayerView() override;

    QMediaPlayer &player() { return m_player; }
    QAudioOutput &audioOutput() { return m_audio; }
    bool hasFailed() const { return m_failed; }
    // Whether a frame has arrived to be painted.
    bool hasFrame() const { return m_frame.isValid(); }
    PlayerControls *controls() const { return m_controls; }
    // A video fills the screen in a window of its own, and comes back to
    // its place; Escape brings it back too.
    void setFullScreen(bool on);
    bool isFullScreen() const { return isWindow(); }

signals:
    void failed();
    // The first frame arrived; before it the view paints nothing.
    void framesStarted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showFrame(const QVideoFrame &frame);
    void fail();
    QRect pictureArea() const;

    // Declared first, so the player lets go of it before it is closed.
    std::unique_ptr<PlayerSource> m_source;
    QMediaPlayer m_player;
    QAudioOutput m_audio;
    QVideoSink m_sink;
    QVideoFrame m_frame;
    Style m_style;
    bool m_failed = false;
    PlayerControls *m_controls = nullptr;
    QLabel *m_message;
};
