#include "HeifImage.h"

#include <QImageReader>
#include <libheif/heif.h>
#include <memory>

namespace {

struct ContextFree {
    void operator()(heif_context *context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image *image) const { heif_image_release(image); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;

// The primary image of a file: the context keeps the parsed boxes and must
// outlive the handle. `data` must outlive both (nothing is copied).
struct Primary {
    Context context;
    Handle handle;
};

std::optional<Primary> primaryOf(const QByteArray &data)
{
    Context context(heif_context_alloc());
    if (!context || heif_context_read_from_memory_without_copy(context.get(), data.constData(),
                                                               size_t(data.size()), nullptr)
                            .code != heif_error_Ok)
        return std::nullopt;
    heif_image_handle *handle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &handle).code != heif_error_Ok)
        return std::nullopt;
    return Primary{std::move(context), Handle(handle)};
}

QImage copied(const heif_image *image)
{
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!pixels || width <= 0 || height <= 0)
        return {};
    // Copied, since the pixels go with the libheif image.
    return QImage(pixels, width, height, stride, QImage::Format_RGBA8888).copy();
}

// Qt's own readers refuse pictures past their allocation limit; a header
// that claims a giant picture gets no further here either.
bool fitsAllocationLimit(const heif_image_handle *handle)
{
    const qint64 bytes =
        qint64(heif_image_handle_get_width(handle)) * heif_image_handle_get_height(handle) * 4;
    return QImageReader::allocationLimit() == 0 || bytes <= qint64(QImageReader::allocationLimit()) << 20;
}

} // namespace

bool HeifImage::isHeif(const QByteArray &data)
{
    const auto bytes = reinterpret_cast<const uint8_t *>(data.constData());
    return heif_check_filetype(bytes, int(qMin<qsizetype>(data.size(), 64))) == heif_filetype_yes_supported;
}

std::optional<QSize> HeifImage::displayedSize(const QByteArray &data)
{
    const auto primary = primaryOf(data);
    if (!primary)
        return std::nullopt;
    // After the rotation and mirror boxes, as the image is shown.
    const QSize size(heif_image_handle_get_width(primary->handle.get()),
                     heif_image_handle_get_height(primary->handle.get()));
    return size.isEmpty() ? std::nullopt : std::optional(size);
}

std::optional<QImage> HeifImage::decode(const QByteArray &data, int maxPixel)
{
    const auto primary = primaryOf(data);
    if (!primary || maxPixel <= 0 || !fitsAllocationLimit(primary->handle.get()))
        return std::nullopt;
    heif_image *decoded = nullptr;
    if (heif_decode_image(primary->handle.get(), &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                          nullptr)
            .code != heif_error_Ok)
        return std::nullopt;
    const Image image(decoded);
    QImage result = copied(image.get());
    if (result.isNull())
        return std::nullopt;
    if (qMax(result.width(), result.height()) > maxPixel)
        result = result.scaled(maxPixel, maxPixel, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return result;
}
