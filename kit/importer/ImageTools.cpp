#include "ImageTools.h"

// Decoding arrives with the image tools' own change.
namespace ImageTools {
std::optional<QSizeF> pixelSize(const QByteArray &) { return std::nullopt; }
std::optional<QByteArray> thumbnail(const QByteArray &, int, double) { return std::nullopt; }
std::optional<QByteArray> jpegData(const QByteArray &, double) { return std::nullopt; }
std::optional<QByteArray> jpeg(const QImage &, double) { return std::nullopt; }
} // namespace ImageTools
