#include "MediaExport.h"

#include "FileError.h"
#include "ImageTools.h"
#include "Media.h"
#include "Post.h"
#include "PrivateTempFolder.h"
#include "Text.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextBoundaryFinder>
#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr qsizetype baseCharacters = 40;
// File names may have 255 bytes; the rest is kept for "-<n>.jpg" or " <n>".
constexpr qsizetype baseBytes = 240;
constexpr double jpegQuality = 0.92;

// Characters that separate path parts, are wildcards or quoting to some
// program, or cannot be typed; each becomes a space.
bool isUnsafe(QChar c)
{
    static const QString unsafe = QStringLiteral("/:\\?%*|\"<>");
    return unsafe.contains(c) || c.category() == QChar::Other_Control;
}

// The longest start of the text within `bytes` UTF-8 bytes that ends between
// two characters (a combined emoji is never split).
QString utf8Prefix(const QString &text, qsizetype bytes)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    qsizetype used = 0;
    for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
        used += QStringView(text).mid(end, next - end).toUtf8().size();
        if (used > bytes)
            break;
        end = next;
    }
    return text.left(end);
}

std::optional<MediaExport::Payload> still(const Media &media)
{
    const std::optional<QByteArray> data = media.data();
    if (!data)
        return std::nullopt;
    return MediaExport::Payload{ImageTools::jpegData(*data, jpegQuality).value_or(*data),
                                QStringLiteral("jpg")};
}

std::optional<MediaExport::Payload> motion(const Media &media, const QString &extension)
{
    std::optional<QByteArray> bytes = media.videoData();
    if (!bytes)
        return std::nullopt;
    return MediaExport::Payload{std::move(*bytes), extension};
}

QString motionExtension(const Media &media)
{
    return media.kind() == MediaKind::audio ? QStringLiteral("mp3") : QStringLiteral("mp4");
}

} // namespace

QString MediaExport::fileBase(const Post &post)
{
    return fileBase(post.title(), post.authorName());
}

QString MediaExport::fileBase(const QString &title, const QString &authorName)
{
    QString base = !title.isEmpty() ? title : authorName;
    for (QChar &c : base)
        if (isUnsafe(c))
            c = QLatin1Char(' ');
    base = Text::trimmingWhitespace(utf8Prefix(Text::characterPrefix(base, baseCharacters), baseBytes));
    // "." and ".." name the folder itself and its parent, not a new one.
    if (base.isEmpty() || base == QStringLiteral(".") || base == QStringLiteral(".."))
        return QStringLiteral("Kepsel");
    return base;
}

QString MediaExport::itemName(const QString &base, qsizetype index)
{
    return base + QLatin1Char('-') + QString::number(index + 1);
}

std::optional<MediaExport::Payload> MediaExport::filePayload(const Media &media)
{
    const bool moving = media.kind() == MediaKind::video || media.kind() == MediaKind::audio;
    if (moving && media.hasVideoData())
        if (auto payload = motion(media, motionExtension(media)))
            return payload;
    if (auto payload = still(media))
        return payload;
    return motion(media, QStringLiteral("mov"));
}

std::optional<MediaExport::Payload> MediaExport::savedPayload(const Media &media)
{
    if (media.hasVideoData())
        if (auto payload = motion(media, motionExtension(media)))
            return payload;
    return still(media);
}

QString MediaExport::temporaryFolder()
{
    return PrivateTempFolder::path() + QStringLiteral("/KepselExport");
}

void MediaExport::clearTemporaryFolder()
{
    try {
        QDir(temporaryFolder()).removeRecursively();
    } catch (const std::exception &) {
        // No private folder means no copies to remove.
    }
}

std::optional<QString> MediaExport::file(const Media &media, const QString &name)
{
    const std::optional<Payload> payload = filePayload(media);
    if (!payload)
        return std::nullopt;
    try {
        const QString folder = temporaryFolder();
        QDir().mkpath(folder);
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QString safeName = name;
        safeName.replace(QLatin1Char('/'), QLatin1Char(' ')).replace(QLatin1Char(':'), QLatin1Char(' '));
        const QString path = folder + QLatin1Char('/') + safeName + QLatin1Char('.') + payload->extension;
        write(path, payload->bytes);
        return path;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

QString MediaExport::newFolder(const QString &parent, const QString &base)
{
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 %2").arg(base).arg(n);
        const QString path = QDir(parent).filePath(name);
        // mkdir, unlike mkpath, fails on an existing folder or link.
        if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
            return path;
        if (errno != EEXIST)
            throw FileError(FileError::Action::create, path, errno);
    }
}

int MediaExport::writeAll(const QList<std::shared_ptr<Media>> &media, const QString &folder)
{
    int written = 0;
    for (qsizetype i = 0; i < media.size(); ++i) {
        const std::optional<Payload> payload = savedPayload(*media.at(i));
        if (!payload)
            continue;
        write(QDir(folder).filePath(QStringLiteral("%1.%2").arg(i + 1).arg(payload->extension)),
              payload->bytes);
        ++written;
    }
    return written;
}

void MediaExport::write(const QString &path, const QByteArray &bytes)
{
    errno = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(FileError::Action::write, path, errno);
    // A short write is how a full disk shows here.
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw FileError(FileError::Action::write, path, ENOSPC);
    }
    if (!file.commit())
        throw FileError(FileError::Action::write, path, errno);
}
