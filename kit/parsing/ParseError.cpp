#include "ParseError.h"

#include <QCoreApplication>

ParseError::ParseError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
{
}

ParseError ParseError::badResponse(int status)
{
    ParseError error(Kind::badResponse,
                     QCoreApplication::translate("ParseError", "请求失败（HTTP %1）").arg(status));
    error.m_status = status;
    return error;
}

ParseError ParseError::structureChanged(const QString &token)
{
    ParseError error(Kind::structureChanged,
                     QCoreApplication::translate("ParseError", "页面结构变化，解析失败：%1").arg(token));
    error.m_token = token;
    return error;
}

ParseError ParseError::loginRequired(Platform platform)
{
    const QString name = platform.displayName();
    ParseError error(
        Kind::loginRequired,
        QCoreApplication::translate("ParseError", "%1 拒绝了这次访问，请从 %1 App 里重新复制分享链接再试")
            .arg(name));
    error.m_platform = platform;
    return error;
}

ParseError ParseError::noURL()
{
    return ParseError(Kind::noURL, QCoreApplication::translate("ParseError", "内容中未发现有效链接"));
}

ParseError ParseError::notSupported()
{
    return ParseError(Kind::notSupported, QCoreApplication::translate("ParseError", "暂不支持该链接"));
}
