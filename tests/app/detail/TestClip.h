#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>

// A clip made in the test from QImage frames: an MJPEG AVI of ten frames a
// second, with a 16-bit mono PCM tone or silent.
namespace TestClip {

constexpr QSize frameSize{160, 120};

QByteArray avi(const QColor &color, bool withSound, int seconds = 1);

} // namespace TestClip
