#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>

// Media made in the test from QImage frames: an MJPEG AVI of ten frames a
// second, with a 16-bit mono PCM tone or silent, and JPEG stills.
namespace TestClip {

constexpr QSize frameSize{160, 120};

QByteArray jpeg(const QColor &color, QSize size = frameSize);
QByteArray avi(const QColor &color, bool withSound, int seconds = 1);

} // namespace TestClip
