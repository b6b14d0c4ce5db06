#include "ImageTools.h"

#include "HeifImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace {

// Export keeps HEIC photos as they are; they are told by the brand of their
// file-type box.
const QByteArrayList heicBrands = {"heic", "heix", "heim", "heis", "hevc", "hevx"};
const QByteArrayList heifBrands = {"mif1", "msf1"};
constexpr int exportMaxPixel = 8192;
// The largest picture the export cap allows, at the widest pixel format the
// readers decode to (16 bits a channel): 512 MB.
constexpr int decodeLimitMB = int(qint64(exportMaxPixel) * exportMaxPixel * 8 >> 20);

bool isJPEG(const QByteArray &data)
{
    return data.startsWith("\xFF\xD8\xFF");
}

quint32 bigEndian32(const QByteArray &data, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return quint32(quint8(data[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

bool isHEIC(const QByteArray &data)
{
    if (data.size() < 16 || data.mid(4, 4) != "ftyp")
        return false;
    const QByteArray major = data.mid(8, 4);
    if (heicBrands.contains(major))
        return true;
    if (!heifBrands.contains(major))
        return false;
    // Generic HEIF files name the HEVC brand among their compatible brands.
    const qsizetype boxEnd = qMin<qsizetype>(bigEndian32(data, 0), data.size());
    for (qsizetype at = 16; at + 4 <= boxEnd; at += 4)
        if (heicBrands.contains(data.mid(at, 4)))
            return true;
    return false;
}

// Qt refuses pictures past 128 MB by default, and its WebP reader (like its
// PNG reader for some pixel formats) holds the whole picture before scaling
// it, so pictures within the export cap would fail. The limit is raised to the
// cap once, process-wide as Qt keeps it; a header that claims a giant picture
// is still refused. A limit already higher, or none, stays.
void allowDecodingWithinTheCap()
{
    static const bool raised = [] {
        const int limit = QImageReader::allocationLimit();
        if (limit > 0 && limit < decodeLimitMB)
            QImageReader::setAllocationLimit(decodeLimitMB);
        return true;
    }();
    Q_UNUSED(raised);
}

// Reads the header only; decoding happens on read().
class Decoder {
public:
    explicit Decoder(const QByteArray &data)
    {
        m_buffer.setData(data);
        m_buffer.open(QIODevice::ReadOnly);
        m_reader.setDevice(&m_buffer);
        m_reader.setAutoTransform(true);
    }

    // The stored size, before the orientation is applied.
    QSize storedSize() const { return m_reader.size(); }

    bool turnsQuarter() const { return m_reader.transformation() & QImageIOHandler::TransformationRotate90; }

    // The decoder scales while it decodes; smaller images are not enlarged.
    std::optional<QImage> read(int maxPixel)
    {
        const QSize size = storedSize();
        if (!size.isValid() || size.isEmpty() || maxPixel <= 0)
            return std::nullopt;
        if (qMax(size.width(), size.height()) > maxPixel)
            m_reader.setScaledSize(size.scaled(maxPixel, maxPixel, Qt::KeepAspectRatio).expandedTo({1, 1}));
        QImage image = m_reader.read();
        if (image.isNull())
            return std::nullopt;
        return image;
    }

private:
    QBuffer m_buffer;
    QImageReader m_reader;
};

} // namespace

namespace ImageTools {

std::optional<QSizeF> pixelSize(const QByteArray &data)
{
    if (HeifImage::isHeif(data))
        return HeifImage::displayedSize(data);
    Decoder decoder(data);
    const QSize size = decoder.storedSize();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return decoder.turnsQuarter() ? QSizeF(size.height(), size.width()) : QSizeF(size);
}

std::optional<QImage> image(const QByteArray &data, int maxPixel)
{
    allowDecodingWithinTheCap();
    if (HeifImage::isHeif(data))
        return HeifImage::decode(data, maxPixel);
    return Decoder(data).read(maxPixel);
}

bool isImage(const QByteArray &data)
{
    return pixelSize(data).has_value() || isHEIC(data);
}

std::optional<QByteArray> thumbnail(const QByteArray &data, int maxPixel, double quality)
{
    const auto decoded = image(data, maxPixel);
    return decoded ? jpeg(*decoded, quality) : std::nullopt;
}

std::optional<QByteArray> jpegData(const QByteArray &data, double quality)
{
    // Already a photo format: no second lossy encoding, and the file's own
    // orientation flag travels with it.
    if (isJPEG(data) || isHEIC(data))
        return data;
    return thumbnail(data, exportMaxPixel, quality);
}

std::optional<QByteArray> jpeg(const QImage &image, double quality)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(qBound(0, qRound(quality * 100), 100));
    if (!writer.write(image))
        return std::nullopt;
    return bytes;
}

} // namespace ImageTools
