#include "FileReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

FileReveal::Handler &handler()
{
    static FileReveal::Handler installed;
    return installed;
}

bool showInFileManager(const QString &path)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage answer = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    return answer.type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool FileReveal::reveal(const QString &path)
{
    if (handler())
        return handler()(path);
    if (showInFileManager(path))
        return true;
    const QFileInfo info(path);
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
}

void FileReveal::setHandler(Handler replacement)
{
    handler() = std::move(replacement);
}
