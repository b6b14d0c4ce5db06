#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

// Encoded pictures for the tests that store, decode or send images.
namespace TestImages {

inline QByteArray
encoded(const QImage &image, const char *format = "jpeg",
        QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transformation);
    writer.write(image);
    return bytes;
}

// A picture of one colour.
inline QByteArray
encoded(int width, int height, const QColor &color, const char *format = "jpeg",
        QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return encoded(image, format, transformation);
}

// A GIF header that declares a picture of the given size and holds nothing.
inline QByteArray declaredGif(quint16 width, quint16 height)
{
    QByteArray bytes("GIF89a");
    for (quint16 value : {width, height}) {
        bytes.append(char(value & 0xFF));
        bytes.append(char(value >> 8));
    }
    bytes.append("\x00\x00\x00", 3);
    return bytes;
}

} // namespace TestImages
