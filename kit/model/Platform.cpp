#include "Platform.h"

#include "HostTable.h"

#include <QCoreApplication>
#include <QHash>

namespace UserAgent {
const QString iPhone = QStringLiteral(
    "Mozilla/5.0 (iPhone; CPU iPhone OS 18_0 like Mac OS X) AppleWebKit/605.1.15 "
    "(KHTML, like Gecko) Version/18.0 Mobile/15E148 Safari/604.1");
const QString desktop = QStringLiteral(
    "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 "
    "(KHTML, like Gecko) Version/18.0 Safari/605.1.15");
const QString crawler = QStringLiteral(
    "facebookexternalhit/1.1 (+http://www.facebook.com/externalhit_uatext.php)");
} // namespace UserAgent

namespace {

struct Row {
    const char *rawValue;
    const char *displayName;
    bool localized;
    const char *symbol;
    const char *tintHex;
};

// Indexed by Platform::Case.
const Row kRows[] = {
    {"xiaohongshu", QT_TRANSLATE_NOOP("Platform", "小红书"), true, "book.closed.fill", "#FF2442"},
    {"douyin", QT_TRANSLATE_NOOP("Platform", "抖音"), true, "music.note", "#111111"},
    {"weibo", QT_TRANSLATE_NOOP("Platform", "微博"), true, "eye.fill", "#E6162D"},
    {"x", "X", false, "xmark", "#000000"},
    {"bilibili", QT_TRANSLATE_NOOP("Platform", "哔哩哔哩"), true, "tv.fill", "#FB7299"},
    {"wechat", QT_TRANSLATE_NOOP("Platform", "公众号"), true, "message.fill", "#07C160"},
    {"instagram", "Instagram", false, "camera.fill", "#C13584"},
    {"threads", "Threads", false, "at", "#000000"},
    {"pinterest", "Pinterest", false, "pin.fill", "#E60023"},
    {"netease", QT_TRANSLATE_NOOP("Platform", "网易云音乐"), true, "music.note.list", "#E60026"},
    {"web", QT_TRANSLATE_NOOP("Platform", "网页"), true, "globe", "#5B6B7F"},
    {"local", QT_TRANSLATE_NOOP("Platform", "笔记"), true, "square.and.pencil", "#7C8B6F"},
};

const Row &row(Platform platform)
{
    return kRows[int(Platform::Case(platform))];
}

QList<Host> domains(Platform platform)
{
    switch (platform) {
    case Platform::xiaohongshu:
        return {Host::XiaohongshuMain, Host::XiaohongshuShortCom, Host::XiaohongshuShortCn,
                Host::XiaohongshuCdn};
    case Platform::douyin: return {Host::DouyinMain, Host::DouyinShare};
    case Platform::weibo: return {Host::WeiboMain, Host::WeiboCn};
    case Platform::x: return {Host::XMain, Host::XFormer, Host::XMirror, Host::XMirrorAlt};
    case Platform::bilibili: return {Host::BilibiliMain, Host::BilibiliShort};
    case Platform::wechat: return {Host::WeChatArticles};
    case Platform::instagram: return {Host::InstagramMain};
    case Platform::threads: return {Host::ThreadsNet, Host::ThreadsCom};
    case Platform::pinterest: return {Host::PinterestMain, Host::PinterestShort};
    case Platform::netease: return {Host::NeteaseMusic, Host::NeteaseShort, Host::NeteaseShortAlt};
    case Platform::web:
    case Platform::local: return {};
    }
    return {};
}

// A host matches a domain when it is the domain or a subdomain of it.
bool matches(const QString &host, Platform platform)
{
    for (Host role : domains(platform)) {
        const QString domain = HostTable::host(role);
        if (host == domain || host.endsWith(QLatin1Char('.') + domain))
            return true;
    }
    return false;
}

QString homePage(Host role)
{
    return HostTable::origin(role) + QLatin1Char('/');
}

} // namespace

std::optional<Platform> Platform::fromRawValue(const QString &rawValue)
{
    for (Platform platform : allCases())
        if (rawValue == QLatin1String(row(platform).rawValue))
            return platform;
    return std::nullopt;
}

Platform Platform::fromRawValueOrWeb(const QString &rawValue)
{
    return fromRawValue(rawValue).value_or(Platform::web);
}

const QList<Platform> &Platform::allCases()
{
    static const QList<Platform> cases = {xiaohongshu, douyin,    weibo,     x,       bilibili, wechat,
                                          instagram,   threads,   pinterest, netease, web,      local};
    return cases;
}

Platform Platform::detect(const QUrl &url)
{
    const QString host = url.host().toLower();
    for (Platform platform : {xiaohongshu, douyin, weibo, x, bilibili, wechat, instagram, threads, pinterest})
        if (matches(host, platform))
            return platform;
    // Regional domains of the pin board site.
    if (host.contains(QLatin1String("pinterest.")))
        return pinterest;
    if (matches(host, netease))
        return netease;
    return web;
}

QString Platform::rawValue() const
{
    return QLatin1String(row(*this).rawValue);
}

QString Platform::displayName() const
{
    const Row &r = row(*this);
    if (!r.localized)
        return QString::fromUtf8(r.displayName);
    return QCoreApplication::translate("Platform", r.displayName);
}

QString Platform::symbol() const
{
    return QLatin1String(row(*this).symbol);
}

QString Platform::tintHex() const
{
    return QLatin1String(row(*this).tintHex);
}

QMap<QString, QString> Platform::mediaHeaders() const
{
    const QString referer = QStringLiteral("Referer");
    switch (m_value) {
    case xiaohongshu: return {{referer, homePage(Host::XiaohongshuWeb)}};
    case douyin:
        return {{referer, homePage(Host::DouyinWeb)}, {QStringLiteral("User-Agent"), UserAgent::iPhone}};
    case weibo: return {{referer, homePage(Host::WeiboMain)}};
    case bilibili: return {{referer, homePage(Host::BilibiliWeb)}};
    case netease: return {{referer, homePage(Host::NeteaseMusic)}};
    default: return {};
    }
}

size_t qHash(Platform platform, size_t seed)
{
    return qHash(platform.rawValue(), seed);
}
