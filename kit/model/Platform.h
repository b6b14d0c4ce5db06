#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>
#include <optional>

// The source of a saved post. The raw value is the one persisted form.
class Platform {
public:
    enum Case {
        xiaohongshu,
        douyin,
        weibo,
        x,
        bilibili,
        wechat,
        instagram,
        threads,
        pinterest,
        netease,
        web,
        local,
    };

    constexpr Platform(Case value) : m_value(value) {}
    constexpr operator Case() const { return m_value; }

    // Exact, case-sensitive match of a raw value; nothing for any other text.
    static std::optional<Platform> fromRawValue(const QString &rawValue);
    // As fromRawValue, with web for a text that names no platform.
    static Platform fromRawValueOrWeb(const QString &rawValue);
    static const QList<Platform> &allCases();
    // Recognises a link's platform from its host; never local.
    static Platform detect(const QUrl &url);

    QString rawValue() const;
    QString id() const { return rawValue(); }
    QString displayName() const;
    QString symbol() const;
    QString tintHex() const;
    // Headers every request for this platform's remote media carries.
    QMap<QString, QString> mediaHeaders() const;

private:
    Case m_value;
};

size_t qHash(Platform platform, size_t seed = 0);

// The browser identities the parsers and the media downloader send.
namespace UserAgent {
extern const QString iPhone;
extern const QString desktop;
extern const QString crawler;
} // namespace UserAgent
