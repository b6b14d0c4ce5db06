#include "BackupCoder.h"
#include "BackupError.h"
#include "BackupSummary.h"
#include "FuzzCheck.h"

#include <QCryptographicHash>

using namespace Backup;

namespace {

QString digestOf(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray written(const File &file)
{
    try {
        return encode(file);
    } catch (const BackupError &) {
        Fuzz::fail("a decoded document can be written");
    }
}

// Writing is the inverse of reading, and one content has one form.
void checkRoundTrip(const File &file)
{
    const QByteArray bytes = written(file);
    const File reread = decode(bytes);
    Fuzz::require(reread == file, "a document written and read back is equal");
    Fuzz::require(written(reread) == bytes, "a document rewritten gives the same bytes");
}

void checkFingerprint(const QByteArray &input, const File &file)
{
    const QString fingerprint = Backup::fingerprint(input);
    Fuzz::require(fingerprint == Backup::fingerprint(written(file)),
                  "a fingerprint ignores the document's form");
    File otherExport = file;
    otherExport.exportedAt = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    Fuzz::require(fingerprint == Backup::fingerprint(written(otherExport)),
                  "a fingerprint ignores exportedAt");
}

void checkSummary(const QByteArray &input, const File &file)
{
    const Summary summary = Backup::summary(input);
    Fuzz::require(summary.exportedAt == file.exportedAt, "the summary has the export time");
    Fuzz::require(summary.postCount == file.posts.size() && summary.keys.size() == file.posts.size(),
                  "the summary counts every post");
    QSet<QUuid> mediaIDs;
    for (qsizetype i = 0; i < file.posts.size(); ++i) {
        const PostRecord &post = file.posts.at(i);
        Fuzz::require(summary.keys.at(i).id == post.id && summary.keys.at(i).link == post.sourceURL,
                      "the summary keys the posts in order");
        for (const MediaRecord &media : post.media)
            mediaIDs.insert(media.id);
    }
    Fuzz::require(summary.mediaIDs == mediaIDs, "the summary lists every media id");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    File file;
    try {
        file = decode(input);
    } catch (const BackupError &) {
        Fuzz::require(fingerprint(input) == digestOf(input),
                      "an unreadable document is fingerprinted as bytes");
        return 0;
    }
    checkRoundTrip(file);
    checkFingerprint(input, file);
    checkSummary(input, file);
    return 0;
}
