#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QCoro/QCoroTask>
#include <memory>
#include <optional>

class Media;
class Post;

// Media items as files for the user: the names they get, the bytes and
// extension chosen for each, the private copies that drags and the preview
// hand to other programs, and the folder an export writes into.
class MediaExport {
public:
    // What an item is written as: a picture's bytes, or the store's own file
    // of its motion or sound, copied as a file so a long video is never read
    // into memory.
    struct Payload {
        QByteArray bytes;
        QString sourceFile;
        QString extension;
    };

    // The base of a post's file names: its title (else author name, else
    // "Kepsel") with characters that paths or file managers choke on turned
    // into spaces, no longer than 40 characters, and short enough in bytes
    // that "<base>-<n>.jpg" or "<base> <n>" still makes a legal file name.
    static QString fileBase(const Post &post);
    static QString fileBase(const QString &title, const QString &authorName);
    // The name of the item at `index` (0-based) in a list: "<base>-<index+1>".
    static QString itemName(const QString &base, qsizetype index);

    // The path chosen for a file of that type, with ".<extension>" added
    // unless it already ends in it (for JPEG ".jpeg" counts too, in any case).
    static QString withExtension(const QString &path, const QString &extension);

    // For previews and drags: a video or audio item's sound or motion, else
    // the still as JPEG (as its own type when it cannot become one), else a
    // live photo's motion alone as ".mov".
    static std::optional<Payload> filePayload(const Media &media);
    // For save and export: motion or sound when there is any, else the still.
    static std::optional<Payload> savedPayload(const Media &media);

    // Writes the item as "<name>.<extension>" into the private temporary
    // folder and returns its path; none without bytes or when the write fails.
    static std::optional<QString> file(const Media &media, const QString &name);
    // The folder of those copies, in the user's cache and readable by the
    // user alone; emptied when the application starts.
    static QString temporaryFolder();
    static void clearTemporaryFolder();

    // Makes a new folder "<base>" in `parent`, else "<base> 2", "<base> 3", …:
    // an export never writes into an existing folder nor over a file.
    // Throws FileError with the user's message.
    static QString newFolder(const QString &parent, const QString &base);
    // Writes every item with bytes as "<n>.<extension>", n its position from 1,
    // and returns how many were written. Throws FileError at the first failure.
    // The files are written off the main thread.
    static QCoro::Task<int> writeAll(QList<std::shared_ptr<Media>> media, QString folder);
    // Replaces the file atomically, off the main thread. Throws FileError
    // with the user's message.
    static QCoro::Task<> writeInBackground(QString path, Payload payload);
    // The same, here and now.
    static void write(const QString &path, const Payload &payload);
};
