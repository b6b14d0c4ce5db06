#include "CookieVault.h"

#include "HostTable.h"
#include "TamselStore.h"

QString CookieVault::key(Platform platform)
{
    return QStringLiteral("cookie.") + platform.rawValue();
}

std::optional<QString> CookieVault::header(Platform platform)
{
    const std::optional<QString> cookie = TamselStore::defaults().string(key(platform));
    if (!cookie || cookie->isEmpty())
        return std::nullopt;
    return cookie;
}

void CookieVault::set(const std::optional<QString> &cookie, Platform platform)
{
    if (cookie)
        TamselStore::defaults().setString(key(platform), *cookie);
    else
        TamselStore::defaults().remove(key(platform));
}

QStringList CookieVault::domains(Platform platform)
{
    switch (platform) {
    case Platform::xiaohongshu: return {HostTable::host(Host::XiaohongshuMain)};
    case Platform::douyin: return {HostTable::host(Host::DouyinMain), HostTable::host(Host::DouyinShare)};
    case Platform::weibo: return {HostTable::host(Host::WeiboMain), HostTable::host(Host::WeiboCn)};
    default: return {};
    }
}

std::optional<QUrl> CookieVault::loginURL(Platform platform)
{
    switch (platform) {
    case Platform::xiaohongshu: return HostTable::url(Host::XiaohongshuWeb, QStringLiteral("/explore"));
    case Platform::douyin: return HostTable::url(Host::DouyinWeb);
    case Platform::weibo: return HostTable::url(Host::WeiboMobile);
    default: return std::nullopt;
    }
}

HTTPClient::Headers CookieVault::headers(Platform platform, const HTTPClient::Headers &extra)
{
    const std::optional<QString> cookie = header(platform);
    if (!cookie)
        return extra;
    HTTPClient::Headers headers = HTTPClient::removingHeader(extra, QStringLiteral("Cookie"));
    headers.insert(QStringLiteral("Cookie"), *cookie);
    return headers;
}
