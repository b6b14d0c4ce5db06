#include "NetworkError.h"

#include <QCoreApplication>

NetworkError::NetworkError(Kind kind, const QString &detail)
    : std::runtime_error(messageFor(kind).toStdString()), m_kind(kind), m_detail(detail),
      m_message(messageFor(kind))
{
}

QString NetworkError::messageFor(Kind kind)
{
    switch (kind) {
    case Kind::unsupportedScheme:
        return QCoreApplication::translate("NetworkError", "只能打开 http 或 https 链接");
    case Kind::timedOut: return QCoreApplication::translate("NetworkError", "网络请求超时，请稍后再试");
    case Kind::cannotConnect:
        return QCoreApplication::translate("NetworkError", "无法连接到服务器，请检查网络后再试");
    case Kind::insecureConnection:
        return QCoreApplication::translate("NetworkError", "无法建立安全连接，服务器证书无效");
    case Kind::tooManyRedirects: return QCoreApplication::translate("NetworkError", "链接重定向次数过多");
    case Kind::tooLarge: return QCoreApplication::translate("NetworkError", "服务器返回的内容过大");
    case Kind::cancelled: return QCoreApplication::translate("NetworkError", "请求已取消");
    case Kind::badContent: return QCoreApplication::translate("NetworkError", "服务器返回的内容无法读取");
    case Kind::cannotWrite: return QCoreApplication::translate("NetworkError", "无法保存下载的内容");
    case Kind::other: break;
    }
    return QCoreApplication::translate("NetworkError", "网络请求失败，请稍后再试");
}
