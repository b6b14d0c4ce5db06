#pragma once

#include <QByteArray>
#include <QImage>

// HEIC files made at test time with libheif's HEVC encoder.
namespace HeicEncoder {

// Whether this system's libheif can write HEIC at all.
bool available();
// The picture as HEIC, stored as given and turned for display by `orientation`
// (the camera's tag, 1 to 8); empty when encoding fails.
QByteArray encoded(const QImage &image, int orientation = 1);

} // namespace HeicEncoder
