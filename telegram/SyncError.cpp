#include "SyncError.h"

#include <QCoreApplication>

TelegramSync::SyncError::SyncError(Kind kind, const QString &text)
    : std::runtime_error(messageFor(kind, text).toStdString()), m_kind(kind), m_text(text)
{
}

TelegramSync::SyncError TelegramSync::SyncError::api(const QString &text, bool temporary)
{
    SyncError error(Kind::api, text);
    error.m_temporary = temporary;
    return error;
}

TelegramSync::SyncError TelegramSync::SyncError::notAdmin()
{
    return SyncError(Kind::notAdmin, {});
}

QString TelegramSync::SyncError::messageFor(Kind kind, const QString &text)
{
    if (kind == Kind::notAdmin)
        return QCoreApplication::translate("Telegram", "Bot 不是这个频道的管理员，或者没有发消息权限");
    if (text == QLatin1String("Unauthorized"))
        return QCoreApplication::translate("Telegram", "Bot Token 不正确");
    if (text.contains(QLatin1String("chat not found")))
        return QCoreApplication::translate("Telegram", "找不到这个频道：检查频道名，并确认 Bot 已加入频道");
    if (text.contains(QLatin1String("not enough rights")) ||
        text.contains(QLatin1String("need administrator rights")))
        return QCoreApplication::translate("Telegram", "Bot 没有在频道发消息的权限");
    if (text.contains(QLatin1String("can't be deleted")) ||
        text.contains(QLatin1String("message to delete not found")))
        return QCoreApplication::translate("Telegram",
                                           "频道里的消息超过 48 小时，Bot 删不掉，请在频道里手动删除");
    return QCoreApplication::translate("Telegram", "Telegram：%1").arg(text);
}
