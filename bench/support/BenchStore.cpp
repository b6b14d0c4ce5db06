#include "BenchStore.h"

#include "ModelContainer.h"
#include "TamselStore.h"

#include <QFileInfo>
#include <QUuid>
#include <sqlite3.h>
#include <stdexcept>

namespace {

class Statement {
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &text(int index, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &number(int index, qint64 value)
    {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    sqlite3_stmt *handle() const { return m_statement; }
    void run()
    {
        sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }

private:
    sqlite3_stmt *m_statement = nullptr;
};

QString uuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

// Posts are saved over the years, one every fifteen minutes, newest last.
constexpr qint64 firstSaved = 1500000000000;
constexpr qint64 savedEvery = 15 * 60 * 1000;

void insertPost(Statement &posts, qint64 key, int index)
{
    static const QString sentence = QStringLiteral("今天去了一家很好吃的小店，记下来以后再去。");
    const qint64 saved = firstSaved + index * savedEvery;
    posts.number(1, key)
        .text(2, uuid())
        .text(3, QStringLiteral("https://weibo.com/%1/%2").arg(1000 + index % 700).arg(index))
        .text(4, QStringLiteral("weibo"))
        .text(5, QStringLiteral("第 %1 条收藏：周末的旅行和咖啡").arg(index))
        .text(6, sentence.repeated(20 + index % 20))
        .text(7, index % 10 ? QString() : QStringLiteral("要再看一遍"))
        .text(8, QStringLiteral("作者%1").arg(index % 700))
        .text(9, QStringLiteral("https://tvax1.sinaimg.cn/crop.0.0.1080.1080.180/%1.jpg").arg(index % 700))
        .number(10, saved - 3600 * 1000)
        .number(11, saved)
        .number(12, saved)
        .text(13, QStringLiteral("parsed"))
        .text(14, QString())
        .number(15, index % 10 == 0)
        .number(16, index % 25 == 0)
        .number(17, 0)
        .text(18, QString())
        .number(20, 0)
        .run();
}

void insertMedium(Statement &media, qint64 key, int index, int order)
{
    media.number(1, key)
        .text(2, uuid())
        .text(3, QStringLiteral("image"))
        .number(4, order)
        .text(5, QStringLiteral("https://wx1.sinaimg.cn/large/%1_%2.jpg").arg(index).arg(order))
        .text(6, QString())
        .number(7, 1080)
        .number(8, 1080 + (index * 37 + order * 101) % 900)
        .number(9, 0)
        .text(10, uuid())
        .text(11, uuid())
        .number(13, 480000)
        .number(14, 0)
        .run();
}

} // namespace

namespace BenchStore {

void generate(const QString &storePath, int postCount)
{
    // The records' own container makes the tables and marks the schema.
    TamselStore::schema();
    {
        ModelContainer schemaOnly(TamselStore::schema(), storePath, TamselStore::schemaVersion);
    }
    sqlite3 *db = nullptr;
    sqlite3_open(storePath.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    {
        Statement posts(db, "INSERT INTO Post (pk, id, sourceURL, platformRaw, title, content, note, "
                            "authorName, authorAvatarURL, publishedAt, createdAt, updatedAt, parseStateRaw, "
                            "parseError, isArchived, isPrivate, telegramMessageID, telegramMessageIDsRaw, "
                            "telegramSyncedAt, telegramQueued) VALUES "
                            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        Statement media(db,
                        "INSERT INTO Media (pk, id, kindRaw, \"order\", remoteURL, videoRemoteURL, width, "
                        "height, duration, data, thumbnail, videoData, dataSize, videoSize) VALUES "
                        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        Statement links(db, "INSERT INTO Post_media (owner, position, target) VALUES (?,?,?)");
        for (int index = 0; index < postCount; ++index) {
            const qint64 post = index + 1;
            insertPost(posts, post, index);
            for (int order = 0; order < mediaPerPost; ++order) {
                const qint64 medium = qint64(index) * mediaPerPost + order + 1;
                insertMedium(media, medium, index, order);
                links.number(1, post).number(2, order).number(3, medium).run();
            }
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

qint64 readRows(sqlite3 *db, const char *sql)
{
    Statement query(db, sql);
    sqlite3_stmt *statement = query.handle();
    qint64 bytes = 0;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW)
        for (int column = 0; column < columns; ++column) {
            sqlite3_column_text(statement, column);
            bytes += sqlite3_column_bytes(statement, column);
        }
    return bytes;
}

qint64 readEveryRow(const QString &storePath)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(storePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    qint64 bytes = 0;
    for (const char *sql : {"SELECT * FROM Post", "SELECT * FROM Media",
                            "SELECT owner, target FROM Post_media ORDER BY owner, position"})
        bytes += readRows(db, sql);
    sqlite3_close(db);
    return bytes;
}

qint64 fileSize(const QString &storePath)
{
    return QFileInfo(storePath).size() + QFileInfo(storePath + QStringLiteral("-wal")).size();
}

} // namespace BenchStore
