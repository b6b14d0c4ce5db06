#include "TestClip.h"

#include "TestImages.h"

#include <QPainter>
#include <QtEndian>
#include <cmath>

namespace {

constexpr int framesPerSecond = 10;
constexpr int sampleRate = 8000;
constexpr int samplesPerFrame = sampleRate / framesPerSecond;

// A RIFF chunk: tag, little-endian length, body padded to an even length.
QByteArray chunk(const char *tag, const QByteArray &body)
{
    QByteArray out(tag, 4);
    quint32 size = qToLittleEndian(quint32(body.size()));
    out.append(reinterpret_cast<const char *>(&size), 4);
    out.append(body);
    if (body.size() % 2)
        out.append('\0');
    return out;
}

QByteArray list(const char *type, const QByteArray &body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}

class Words {
public:
    Words &u32(quint32 value)
    {
        value = qToLittleEndian(value);
        m_bytes.append(reinterpret_cast<const char *>(&value), 4);
        return *this;
    }
    Words &u16(quint16 value)
    {
        value = qToLittleEndian(value);
        m_bytes.append(reinterpret_cast<const char *>(&value), 2);
        return *this;
    }
    Words &tag(const char *fourcc)
    {
        m_bytes.append(fourcc, 4);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

QByteArray streamHeader(const char *type, const char *handler, quint32 scale, quint32 rate, quint32 length,
                        quint32 sampleSize)
{
    Words words;
    words.tag(type).tag(handler).u32(0).u16(0).u16(0).u32(0).u32(scale).u32(rate).u32(0).u32(length);
    words.u32(0)
        .u32(0xFFFFFFFF)
        .u32(sampleSize)
        .u16(0)
        .u16(0)
        .u16(quint16(TestClip::frameSize.width()))
        .u16(quint16(TestClip::frameSize.height()));
    return chunk("strh", words.bytes());
}

QByteArray videoStream(quint32 frames)
{
    const QSize size = TestClip::frameSize;
    Words format;
    format.u32(40).u32(quint32(size.width())).u32(quint32(size.height())).u16(1).u16(24).tag("MJPG");
    format.u32(quint32(size.width() * size.height() * 3)).u32(0).u32(0).u32(0).u32(0);
    return list("strl",
                streamHeader("vids", "MJPG", 1, framesPerSecond, frames, 0) + chunk("strf", format.bytes()));
}

QByteArray audioStream(quint32 frames)
{
    Words format;
    format.u16(1).u16(1).u32(sampleRate).u32(sampleRate * 2).u16(2).u16(16);
    return list("strl", streamHeader("auds", "\0\0\0\0", 2, sampleRate * 2, frames * samplesPerFrame, 2) +
                            chunk("strf", format.bytes()));
}

QByteArray tone(int frame)
{
    QByteArray samples(samplesPerFrame * 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<qint16 *>(samples.data());
    for (int i = 0; i < samplesPerFrame; ++i) {
        const double t = double(frame * samplesPerFrame + i) / sampleRate;
        out[i] = qToLittleEndian(qint16(8000 * std::sin(2 * M_PI * 440 * t)));
    }
    return samples;
}

// The frame shows its number as a growing white bar, so frames differ.
QByteArray frame(const QColor &color, int number)
{
    QImage image(TestClip::frameSize, QImage::Format_RGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.fillRect(0, 0, (number % framesPerSecond + 1) * image.width() / framesPerSecond, 8, Qt::white);
    painter.end();
    return TestImages::encoded(image);
}

} // namespace

namespace TestClip {

QByteArray avi(const QColor &color, bool withSound, int seconds)
{
    // The index's offsets count from the "movi" tag.
    QByteArray movi;
    Words index;
    const auto add = [&](const char *tag, const QByteArray &body) {
        index.tag(tag).u32(0x10).u32(quint32(movi.size() + 4)).u32(quint32(body.size()));
        movi.append(chunk(tag, body));
    };
    const int frames = seconds * framesPerSecond;
    for (int i = 0; i < frames; ++i) {
        add("00dc", frame(color, i));
        if (withSound)
            add("01wb", tone(i));
    }
    const quint32 streams = withSound ? 2 : 1;
    const QSize size = frameSize;
    Words main;
    main.u32(1000000 / framesPerSecond).u32(0).u32(0).u32(0x10).u32(quint32(frames)).u32(0).u32(streams);
    main.u32(0).u32(quint32(size.width())).u32(quint32(size.height())).u32(0).u32(0).u32(0).u32(0);
    QByteArray header = chunk("avih", main.bytes()) + videoStream(quint32(frames));
    if (withSound)
        header += audioStream(quint32(frames));
    const QByteArray body =
        QByteArray("AVI ") + list("hdrl", header) + list("movi", movi) + chunk("idx1", index.bytes());
    return chunk("RIFF", body);
}

} // namespace TestClip
