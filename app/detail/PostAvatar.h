#pragma once

#include "Platform.h"

#include <QImage>
#include <QWidget>

// The round avatar of a post's author, fetched from its link through the
// avatars' shared cache. Until it arrives, and when there is none, a disc
// of the placeholder colour shows the platform's badge.
class PostAvatar : public QWidget {
    Q_OBJECT
public:
    static constexpr int size = 40;
    static constexpr int badgeSize = 16;

    PostAvatar(const QString &url, Platform platform, QWidget *parent = nullptr);

    QImage image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Platform m_platform;
    QImage m_image;
};
