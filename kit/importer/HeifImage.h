#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

// HEIC and other HEIF pictures, which Qt has no reader for, through libheif.
// The picture's own orientation (its rotation and mirror boxes, which carry
// the camera's orientation tag) is applied. Safe on any thread.
class HeifImage {
public:
    // Whether libheif reads the bytes as a HEIF file it can decode. Reads the
    // file-type box only.
    static bool isHeif(const QByteArray &data);
    // The primary image's size as displayed; reads no pixels.
    static std::optional<QSize> displayedSize(const QByteArray &data);
    // The primary image, no larger than maxPixel on its longer side.
    static std::optional<QImage> decode(const QByteArray &data, int maxPixel);
};
