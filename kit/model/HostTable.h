#pragma once

#include <QString>
#include <QUrl>

// Every platform host and base address the kit reaches. Tests point roles at
// a fixture server on a loopback address; nothing else names a host.
enum class Host {
    XiaohongshuMain,
    XiaohongshuWeb,
    XiaohongshuShortCom,
    XiaohongshuShortCn,
    XiaohongshuCdn,
    DouyinMain,
    DouyinWeb,
    DouyinShare,
    DouyinSharePage,
    WeiboMain,
    WeiboCn,
    WeiboMobile,
    WeiboPassport,
    WeiboShort,
    XMain,
    XFormer,
    XMirror,
    XMirrorAlt,
    XMirrorAPI,
    BilibiliMain,
    BilibiliWeb,
    BilibiliShort,
    BilibiliAPI,
    WeChatArticles,
    WeChatImages,
    InstagramMain,
    InstagramWeb,
    ThreadsNet,
    ThreadsCom,
    PinterestMain,
    PinterestShort,
    NeteaseMusic,
    NeteaseShort,
    NeteaseShortAlt,
    NeteaseAudio,
    TelegramBotAPI,
};

class HostTable {
public:
    // The host name of a role, lower-case, without port.
    static QString host(Host role);
    // "https://" + host (+ ":" + port when one is set).
    static QString origin(Host role);
    // The origin followed by an absolute path (with query, when given).
    static QUrl url(Host role, const QString &pathAndQuery = QStringLiteral("/"));

    static void setOverride(Host role, const QString &host, int port = -1);
    static void clearOverrides();
};
