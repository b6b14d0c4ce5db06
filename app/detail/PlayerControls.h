#pragma once

#include <QWidget>

class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;

// The control bar under a video or an audio cover: play or pause, the
// position as a slider that seeks, the time played of the whole and, for a
// video, a button that fills the screen with it or brings it back.
class PlayerControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int barHeight = 44;

    explicit PlayerControls(QMediaPlayer &player, bool withFullScreen = false, QWidget *parent = nullptr);

    QToolButton *fullScreenButton() const { return m_fullScreen; }
    // Shows which way the full-screen button goes.
    void showFullScreen(bool on);

signals:
    void fullScreenToggled();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPalette scheme() const;
    // In the colours of the window's appearance.
    void showColours();
    void showState();
    void showPosition();

    QMediaPlayer &m_player;
    QToolButton *m_toggle;
    QSlider *m_position;
    QLabel *m_time;
    QToolButton *m_fullScreen = nullptr;
    bool m_fullScreenOn = false;
};
