#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <optional>

// Stateless operations on encoded image bytes; safe on any thread.
namespace ImageTools {

// Size as displayed, that is with the EXIF orientation applied.
std::optional<QSizeF> pixelSize(const QByteArray &data);
// Decoded no larger than maxPixel on its longer side, orientation applied.
std::optional<QImage> image(const QByteArray &data, int maxPixel);
// Whether the bytes are a picture (HEIC included) rather than, say, an error
// page served in its place. Reads the header only.
bool isImage(const QByteArray &data);
// A JPEG no larger than maxPixel on its longer side, orientation applied.
std::optional<QByteArray> thumbnail(const QByteArray &data, int maxPixel, double quality);
// Bytes for export: JPEG and HEIC as they are, anything else re-encoded.
std::optional<QByteArray> jpegData(const QByteArray &data, double quality);
std::optional<QByteArray> jpeg(const QImage &image, double quality);

} // namespace ImageTools
