#include "FileError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

namespace {

QString englishAction(FileError::Action action)
{
    switch (action) {
    case FileError::Action::read: return QStringLiteral("Cannot read");
    case FileError::Action::write: return QStringLiteral("Cannot write");
    case FileError::Action::lock: return QStringLiteral("Cannot lock");
    case FileError::Action::move: return QStringLiteral("Cannot move");
    case FileError::Action::create: break;
    }
    return QStringLiteral("Cannot create");
}

// The user's sentence; it names the item only, the full path goes to the log.
QString userMessage(FileError::Action action, const QString &path, const QString &cause)
{
    const QString name = QFileInfo(path).fileName();
    switch (action) {
    case FileError::Action::read:
        return QCoreApplication::translate("FileError", "无法读取“%1”：%2").arg(name, cause);
    case FileError::Action::write:
        return QCoreApplication::translate("FileError", "无法写入“%1”：%2").arg(name, cause);
    case FileError::Action::lock:
        return QCoreApplication::translate("FileError", "无法锁定“%1”：%2").arg(name, cause);
    case FileError::Action::move:
        return QCoreApplication::translate("FileError", "无法移动“%1”：%2").arg(name, cause);
    case FileError::Action::create: break;
    }
    return QCoreApplication::translate("FileError", "无法新建文件夹“%1”：%2").arg(name, cause);
}

QString englishDescription(FileError::Action action, const QString &path, const QString &cause)
{
    return QStringLiteral("%1 %2: %3").arg(englishAction(action), path, cause);
}

} // namespace

FileError::FileError(Action action, const QString &path, int errorNumber)
    : FileError(action, path, errorNumber ? qt_error_string(errorNumber) : QStringLiteral("unknown cause"),
                reason(errorNumber))
{
}

FileError::FileError(Action action, const QString &path, const QString &cause, const QString &userCause)
    : std::runtime_error(englishDescription(action, path, cause).toStdString()),
      m_message(userMessage(action, path, userCause))
{
}

FileError::FileError(const QString &description)
    : std::runtime_error(description.toStdString()), m_message(description)
{
}

QString FileError::reason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT: return QCoreApplication::translate("FileError", "磁盘已满");
    case EROFS: return QCoreApplication::translate("FileError", "磁盘是只读的");
    case EACCES:
    case EPERM: return QCoreApplication::translate("FileError", "没有权限");
    case ENOENT: return QCoreApplication::translate("FileError", "找不到这个文件或文件夹");
    case ENOTDIR: return QCoreApplication::translate("FileError", "路径里有一项不是文件夹");
    case EISDIR: return QCoreApplication::translate("FileError", "这是一个文件夹");
    case EEXIST: return QCoreApplication::translate("FileError", "已有同名的文件");
    case ENAMETOOLONG: return QCoreApplication::translate("FileError", "名称太长");
    case EMFILE:
    case ENFILE: return QCoreApplication::translate("FileError", "打开的文件太多");
    case EIO: return QCoreApplication::translate("FileError", "读写磁盘时出错");
    case 0: return QCoreApplication::translate("FileError", "原因不明");
    default: break;
    }
    return QCoreApplication::translate("FileError", "系统错误 %1").arg(errorNumber);
}
