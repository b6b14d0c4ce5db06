#pragma once

#include <QString>
#include <optional>

// The kind of one media item; the raw value is the case name.
class MediaKind {
public:
    enum Case { image, video, livePhoto, audio };

    constexpr MediaKind(Case value) : m_value(value) {}
    constexpr operator Case() const { return m_value; }

    // Exact, case-sensitive match; nothing for any other text.
    static std::optional<MediaKind> fromRawValue(const QString &rawValue)
    {
        for (MediaKind kind : {image, video, livePhoto, audio})
            if (rawValue == kind.rawValue())
                return kind;
        return std::nullopt;
    }

    QString rawValue() const
    {
        switch (m_value) {
        case image: return QStringLiteral("image");
        case video: return QStringLiteral("video");
        case livePhoto: return QStringLiteral("livePhoto");
        case audio: return QStringLiteral("audio");
        }
        return {};
    }

private:
    Case m_value;
};
