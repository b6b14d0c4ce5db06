#include "MediaExport.h"

#include "FileError.h"
#include "FileWork.h"
#include "ImageTools.h"
#include "Media.h"
#include "Post.h"
#include "PrivateTempFolder.h"
#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
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

constexpr qint64 copyChunk = 1024 * 1024;

// The extension of the type the bytes show themselves to be, "bin" when none.
QString ownExtension(const QByteArray &data)
{
    const QString suffix = QMimeDatabase().mimeTypeForData(data).preferredSuffix();
    return suffix.isEmpty() ? QStringLiteral("bin") : suffix;
}

std::optional<MediaExport::Payload> still(const Media &media)
{
    std::optional<QByteArray> data = media.data();
    if (!data)
        return std::nullopt;
    if (std::optional<QByteArray> jpeg = ImageTools::jpegData(*data, jpegQuality))
        return MediaExport::Payload{std::move(*jpeg), {}, QStringLiteral("jpg")};
    // Bytes that cannot become JPEG are written as they are, under their own
    // type's name: a ".jpg" file is always JPEG.
    const QString extension = ownExtension(*data);
    return MediaExport::Payload{std::move(*data), {}, extension};
}

std::optional<MediaExport::Payload> motion(const Media &media, const QString &extension)
{
    std::optional<QString> file = media.videoDataFilePath();
    if (!file)
        return std::nullopt;
    return MediaExport::Payload{{}, std::move(*file), extension};
}

FileWork &fileWork()
{
    static FileWork work(QThread::NormalPriority, 1);
    return work;
}

// Copies in chunks, so memory holds one chunk whatever the file's size.
void copyInto(QFileDevice &target, const QString &sourcePath)
{
    errno = 0;
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw FileError(FileError::Action::read, sourcePath, errno);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(copyChunk);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw FileError(FileError::Action::read, sourcePath, errno);
        // A short write is how a full disk shows here.
        if (target.write(chunk) != chunk.size())
            throw FileError(FileError::Action::write, target.fileName(), ENOSPC);
    }
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

QString MediaExport::withExtension(const QString &path, const QString &extension)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool named =
        suffix == extension || (extension == QStringLiteral("jpg") && suffix == QStringLiteral("jpeg"));
    return named ? path : path + QLatin1Char('.') + extension;
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
        write(path, *payload);
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

QCoro::Task<int> MediaExport::writeAll(QList<std::shared_ptr<Media>> media, QString folder)
{
    int written = 0;
    for (qsizetype i = 0; i < media.size(); ++i) {
        std::optional<Payload> payload = savedPayload(*media.at(i));
        if (!payload)
            continue;
        // Named rather than temporaries of the co_await expression, which gcc 12 destroys twice.
        QString path = QDir(folder).filePath(QStringLiteral("%1.%2").arg(i + 1).arg(payload->extension));
        QCoro::Task<> writing = writeInBackground(std::move(path), std::move(*payload));
        co_await std::move(writing);
        ++written;
    }
    co_return written;
}

QCoro::Task<> MediaExport::writeInBackground(QString path, Payload payload)
{
    auto work = [path = std::move(path), payload = std::move(payload)] { write(path, payload); };
    QCoro::Task<> writing = fileWork().run(std::move(work));
    co_await std::move(writing);
}

void MediaExport::write(const QString &path, const Payload &payload)
{
    errno = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(FileError::Action::write, path, errno);
    if (!payload.sourceFile.isEmpty())
        copyInto(file, payload.sourceFile);
    else if (file.write(payload.bytes) != payload.bytes.size())
        throw FileError(FileError::Action::write, path, ENOSPC);
    if (!file.commit())
        throw FileError(FileError::Action::write, path, errno);
}
