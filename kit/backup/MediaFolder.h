#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QUuid>

// The media folder beside the backup document: one file per byte field of a
// medium, "<UUID>.jpg" for the picture and "<UUID>.mp4" for the video, motion
// or sound, whatever the bytes' format. Names are only ever made from typed
// ids, so no text of the shared document becomes a path. Any thread may call
// these; reads and writes are coordinated with other processes.
class MediaFolder {
public:
    // File name to name on disk: the same for a file, the placeholder's own
    // name while only the cloud placeholder of the file is there.
    using Listing = QHash<QString, QString>;

    static QString imageName(const QUuid &id);
    static QString videoName(const QUuid &id);

    // Empty for a folder that is missing or cannot be read.
    static Listing listing(const QString &folder);
    // Reads a file, or the file a placeholder stands for. A symbolic link is
    // refused: it could bring a file from outside the folder into the
    // library. Throws FileError.
    static QByteArray read(const QString &path);
    // Removes every listed file whose name begins with a UUID not in `keep`;
    // other names are left alone and failed removals are ignored.
    static void prune(const QString &folder, const Listing &existing, const QSet<QUuid> &keep);
};
