#include "BackupCoder.h"

#include "BackupError.h"

#include <QCryptographicHash>

namespace Backup {

namespace {

QString hexDigest(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

QString fingerprint(const QByteArray &bytes)
{
    try {
        File file = decode(bytes);
        file.exportedAt = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
        return hexDigest(encode(file));
    } catch (const BackupError &) {
        return hexDigest(bytes);
    }
}

} // namespace Backup
