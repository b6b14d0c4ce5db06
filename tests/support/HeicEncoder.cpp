#include "HeicEncoder.h"

#include <libheif/heif.h>
#include <memory>

namespace HeicEncoder {

namespace {

heif_error writeTo(heif_context *, const void *data, size_t size, void *userdata)
{
    static_cast<QByteArray *>(userdata)->append(static_cast<const char *>(data), qsizetype(size));
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

// RGB planes interleaved, as libheif takes them.
heif_image *imageOf(const QImage &source)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    heif_image *image = nullptr;
    if (heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image)
            .code != heif_error_Ok)
        return nullptr;
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    return image;
}

} // namespace

bool available()
{
    return heif_have_encoder_for_format(heif_compression_HEVC) != 0;
}

QByteArray encoded(const QImage &picture, int orientation)
{
    const std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(),
                                                                          heif_context_free);
    heif_encoder *rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder).code !=
        heif_error_Ok)
        return {};
    const std::unique_ptr<heif_encoder, void (*)(heif_encoder *)> encoder(rawEncoder, heif_encoder_release);
    const std::unique_ptr<heif_image, void (*)(const heif_image *)> image(imageOf(picture),
                                                                          heif_image_release);
    const std::unique_ptr<heif_encoding_options, void (*)(heif_encoding_options *)> options(
        heif_encoding_options_alloc(), heif_encoding_options_free);
    options->image_orientation = heif_orientation(orientation);
    QByteArray bytes;
    heif_writer writer{1, writeTo};
    if (!image ||
        heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(), nullptr).code !=
            heif_error_Ok ||
        heif_context_write(context.get(), &writer, &bytes).code != heif_error_Ok)
        return {};
    return bytes;
}

} // namespace HeicEncoder
