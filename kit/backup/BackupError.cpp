#include "BackupError.h"

#include <QCoreApplication>
#include <QHash>

namespace Backup {

BackupError::BackupError(Kind kind, const QString &detail, const QString &message)
    : std::runtime_error((detail.isEmpty() ? message : detail).toStdString()), m_kind(kind), m_detail(detail),
      m_message(message)
{
}

BackupError BackupError::newerFormat()
{
    return BackupError(
        Kind::newerFormat, {},
        QCoreApplication::translate("BackupError", "这个备份来自更新版本的 Kepsel，请先更新 App"));
}

BackupError BackupError::unreadable(const QString &detail)
{
    return BackupError(Kind::unreadable, detail,
                       QCoreApplication::translate("BackupError", "备份文件无法读取，可能已经损坏"));
}

BackupError BackupError::unwritable(const QString &detail)
{
    return BackupError(
        Kind::unwritable, detail,
        QCoreApplication::translate("BackupError", "收藏里有备份文件存不下的内容，无法写入备份"));
}

BackupError BackupError::unwritablePost(const QString &post, const QString &detail)
{
    return BackupError(
        Kind::unwritable, detail,
        QCoreApplication::translate("BackupError", "收藏“%1”里有备份文件存不下的内容，无法写入备份")
            .arg(post));
}

size_t qHash(const BackupError &error, size_t seed)
{
    return qHashMulti(seed, int(error.kind()), error.detail());
}

} // namespace Backup
