#include "HostTable.h"

#include <QHash>
#include <QReadWriteLock>

namespace {

struct Address {
    QString host;
    int port = -1;
};

QString defaultHost(Host role)
{
    switch (role) {
    case Host::XiaohongshuMain: return QStringLiteral("xiaohongshu.com");
    case Host::XiaohongshuWeb: return QStringLiteral("www.xiaohongshu.com");
    case Host::XiaohongshuShortCom: return QStringLiteral("xhslink.com");
    case Host::XiaohongshuShortCn: return QStringLiteral("xhslink.cn");
    case Host::XiaohongshuCdn: return QStringLiteral("xhscdn.com");
    case Host::DouyinMain: return QStringLiteral("douyin.com");
    case Host::DouyinWeb: return QStringLiteral("www.douyin.com");
    case Host::DouyinShare: return QStringLiteral("iesdouyin.com");
    case Host::DouyinSharePage: return QStringLiteral("www.iesdouyin.com");
    case Host::WeiboMain: return QStringLiteral("weibo.com");
    case Host::WeiboCn: return QStringLiteral("weibo.cn");
    case Host::WeiboMobile: return QStringLiteral("m.weibo.cn");
    case Host::WeiboPassport: return QStringLiteral("passport.weibo.com");
    case Host::WeiboShort: return QStringLiteral("t.cn");
    case Host::XMain: return QStringLiteral("x.com");
    case Host::XFormer: return QStringLiteral("twitter.com");
    case Host::XMirror: return QStringLiteral("fxtwitter.com");
    case Host::XMirrorAlt: return QStringLiteral("vxtwitter.com");
    case Host::XMirrorAPI: return QStringLiteral("api.fxtwitter.com");
    case Host::BilibiliMain: return QStringLiteral("bilibili.com");
    case Host::BilibiliWeb: return QStringLiteral("www.bilibili.com");
    case Host::BilibiliShort: return QStringLiteral("b23.tv");
    case Host::BilibiliAPI: return QStringLiteral("api.bilibili.com");
    case Host::WeChatArticles: return QStringLiteral("mp.weixin.qq.com");
    // Prefix of article picture links; only pictures on it belong to the article.
    case Host::WeChatImages: return QStringLiteral("mmbiz.qpic.cn");
    case Host::InstagramMain: return QStringLiteral("instagram.com");
    case Host::InstagramWeb: return QStringLiteral("www.instagram.com");
    case Host::ThreadsNet: return QStringLiteral("threads.net");
    case Host::ThreadsCom: return QStringLiteral("threads.com");
    case Host::PinterestMain: return QStringLiteral("pinterest.com");
    case Host::PinterestShort: return QStringLiteral("pin.it");
    case Host::NeteaseMusic: return QStringLiteral("music.163.com");
    case Host::NeteaseShort: return QStringLiteral("163cn.tv");
    case Host::NeteaseShortAlt: return QStringLiteral("163cn.link");
    case Host::NeteaseAudio: return QStringLiteral("music.126.net");
    case Host::TelegramBotAPI: return QStringLiteral("api.telegram.org");
    }
    return {};
}

QReadWriteLock &overridesLock()
{
    static QReadWriteLock lock;
    return lock;
}

QHash<Host, Address> &overrides()
{
    static QHash<Host, Address> table;
    return table;
}

Address address(Host role)
{
    QReadLocker locker(&overridesLock());
    const auto it = overrides().constFind(role);
    return it != overrides().constEnd() ? *it : Address{defaultHost(role)};
}

} // namespace

QString HostTable::host(Host role)
{
    return address(role).host;
}

QString HostTable::origin(Host role)
{
    const Address a = address(role);
    QString text = QStringLiteral("https://") + a.host;
    if (a.port > 0)
        text += QLatin1Char(':') + QString::number(a.port);
    return text;
}

QUrl HostTable::url(Host role, const QString &pathAndQuery)
{
    return QUrl(origin(role) + pathAndQuery);
}

void HostTable::setOverride(Host role, const QString &host, int port)
{
    QWriteLocker locker(&overridesLock());
    overrides().insert(role, Address{host.toLower(), port});
}

void HostTable::clearOverrides()
{
    QWriteLocker locker(&overridesLock());
    overrides().clear();
}
