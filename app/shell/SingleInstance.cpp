#include "SingleInstance.h"

#include "AppLanguage.h"
#include "StoreMigration.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocalSocket>

namespace {

const QByteArray reopenRequest = "reopen\n";
constexpr int socketTimeoutMs = 2000;
// How long a relaunched instance waits for the one it replaces to quit.
constexpr std::chrono::milliseconds relaunchWait{15000};

std::unique_ptr<QLockFile> takeLock()
{
    const bool relaunched = QCoreApplication::arguments().contains(AppLanguage::relaunchFlag);
    return StoreMigration::takeInstanceLock(relaunched ? relaunchWait : std::chrono::milliseconds::zero());
}

} // namespace

std::unique_ptr<SingleInstance> SingleInstance::claim()
{
    std::unique_ptr<QLockFile> lock = takeLock();
    if (!lock) {
        askToReopen();
        return nullptr;
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance(std::move(lock)));
}

QString SingleInstance::serverName()
{
    const QByteArray folder = UserDefaults::configFolder().toUtf8();
    return QStringLiteral("kepsel-") +
           QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
}

SingleInstance::SingleInstance(std::unique_ptr<QLockFile> lock) : m_lock(std::move(lock))
{
    // Holding the lock means any socket of that name is left from a crash.
    QLocalServer::removeServer(serverName());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(serverName()))
        qWarning("instance socket unavailable: %s", qPrintable(m_server.errorString()));
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    });
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    // Anything but whole request lines ends the connection.
    while (socket->canReadLine()) {
        if (socket->readLine(reopenRequest.size() + 1) != reopenRequest) {
            socket->abort();
            return;
        }
        emit reopenRequested();
    }
    if (socket->bytesAvailable() >= reopenRequest.size())
        socket->abort();
}

void SingleInstance::askToReopen()
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(socketTimeoutMs)) {
        qWarning("another Kepsel runs but does not answer: %s", qPrintable(socket.errorString()));
        return;
    }
    socket.write(reopenRequest);
    socket.waitForBytesWritten(socketTimeoutMs);
    socket.disconnectFromServer();
}
