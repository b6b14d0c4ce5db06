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

void FileReveal::reveal(const QString &path)
{
    if (handler()) {
        handler()(path);
        return;
    }
    if (showInFileManager(path))
        return;
    const QFileInfo info(path);
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
}

void FileReveal::setHandler(Handler replacement)
{
    handler() = std::move(replacement);
}
