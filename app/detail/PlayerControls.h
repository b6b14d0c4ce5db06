#pragma once

#include <QWidget>

class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;

// The control bar under a video or an audio cover: play or pause, the
// position as a slider that seeks, and the time played of the whole.
class PlayerControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int barHeight = 44;

    explicit PlayerControls(QMediaPlayer &player, QWidget *parent = nullptr);

private:
    void showState();
    void showPosition();

    QMediaPlayer &m_player;
    QToolButton *m_toggle;
    QSlider *m_position;
    QLabel *m_time;
};
