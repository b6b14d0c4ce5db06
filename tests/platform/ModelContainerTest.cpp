#include "Board.h"
#include "FolderWrite.h"
#include "LockFiles.h"
#include "LockWaitClock.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "StoreError.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class ModelContainerTest : public HomeTest {
protected:
    QString storePath() const { return home.path() + QStringLiteral("/Library.store"); }
    std::unique_ptr<ModelContainer> open() const
    {
        return std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
    }
    QStringList supportFiles() const
    {
        return QDir(ModelContainer::supportDirectory(storePath())).entryList(QDir::Files);
    }
};

void runOnStore(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A small file system of its own (a tmpfs, which needs root), to fill up or
// make read-only.
class SmallDisk {
public:
    SmallDisk() { m_mounted = ::mount("tmpfs", path().toUtf8().constData(), "tmpfs", 0, "size=256k") == 0; }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(path().toUtf8().constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    QString path() const { return m_folder.path(); }
    bool makeReadOnly()
    {
        return ::mount(nullptr, path().toUtf8().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    void fill() const
    {
        QFile filler(path() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
    }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
};

// A folder no file can be made in, also for root, whom permissions do not
// hold back: it is then marked immutable, where the file system allows.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_immutable = geteuid() == 0 && setImmutable(true);
    }
    ~UnwritableFolder()
    {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool isUnwritable() const { return FolderWrite::writeError(m_path) != 0; }

private:
    bool setImmutable(bool immutable) const
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        bool set = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return set;
    }

    QString m_path;
    bool m_immutable = false;
};

QVariantList fields(const Post &p)
{
    return QVariantList() << p.id() << p.sourceURL() << p.platformRaw() << p.title() << p.content()
                          << p.note() << p.authorName() << p.authorAvatarURL()
                          << p.publishedAt().value_or(QDateTime()) << p.createdAt() << p.updatedAt()
                          << p.parseStateRaw() << p.parseError() << p.isArchived() << p.isPrivate()
                          << p.telegramMessageID() << p.telegramMessageIDsRaw()
                          << p.telegramSyncedAt().value_or(QDateTime()) << p.telegramQueued();
}

QVariantList fields(const Media &m)
{
    const QByteArray none("<none>");
    return QVariantList() << m.id() << m.kindRaw() << m.order() << m.remoteURL() << m.videoRemoteURL()
                          << m.width() << m.height() << m.duration() << m.data().value_or(none)
                          << m.thumbnail().value_or(none) << m.videoData().value_or(none) << m.videoSize();
}

TEST_F(ModelContainerTest, PostWithMediaTagsAndBoardsSurvivesReopen)
{
    auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1/abc"), Platform::weibo);
    post->setTitle(QStringLiteral("标题"));
    post->setContent(QStringLiteral("正文 🧑‍🤝‍🧑"));
    post->setNote(QStringLiteral("note"));
    post->setAuthorName(QStringLiteral("Alice"));
    post->setAuthorAvatarURL(QStringLiteral("https://a/avatar.jpg"));
    post->setPublishedAt(QDateTime::fromMSecsSinceEpoch(1700000000123));
    post->setParseStateRaw(QStringLiteral("failed"));
    post->setParseError(QStringLiteral("结构变了"));
    post->setIsArchived(true);
    post->setIsPrivate(true);
    post->setTelegramMessageID(-42);
    post->setTelegramMessageIDsRaw(QStringLiteral("-42,9"));
    post->setTelegramSyncedAt(QDateTime::fromMSecsSinceEpoch(1700000009999));
    post->setTelegramQueued(true);
    auto video = std::make_shared<Media>(MediaKind::video, 1);
    video->setRemoteURL(QStringLiteral("https://a/cover.jpg"));
    video->setVideoRemoteURL(QStringLiteral("https://a/v.mp4"));
    video->setWidth(1920.5);
    video->setHeight(1080);
    video->setDuration(12.25);
    video->setVideoData(QByteArray("video bytes"));
    video->setVideoSize(11);
    auto image = std::make_shared<Media>(MediaKind::image, 0);
    image->setData(QByteArray(""));
    image->setThumbnail(QByteArray("thumb"));
    auto tag = std::make_shared<Tag>(QStringLiteral("red"), QStringLiteral("#FF0000"));
    auto board = std::make_shared<Board>(QStringLiteral("Board"), QStringLiteral("summary"));
    board->setAuthorsRaw(QStringLiteral("weibo\tAlice"));
    post->setMedia({video, image});
    post->setTags({tag});
    post->setBoards({board});
    const auto tagFields = [](const Tag &t) {
        return QVariantList{t.id(), t.name(), t.colorHex(), t.createdAt()};
    };
    const auto boardFields = [](const Board &b) {
        return QVariantList{b.id(), b.name(), b.summary(), b.createdAt(), b.authorsRaw()};
    };
    QList<QVariantList> expected;
    {
        auto container = open();
        container->mainContext().insert(post);
        container->mainContext().save();
        expected = {fields(*post), fields(*video), fields(*image), tagFields(*tag), boardFields(*board)};
    }

    auto container = open();
    const auto posts = container->mainContext().fetch<Post>();
    ASSERT_EQ(posts.size(), 1);
    const auto &stored = *posts.first();
    ASSERT_EQ((QList<qsizetype>{stored.media().size(), stored.tags().size(), stored.boards().size()}),
              (QList<qsizetype>{2, 1, 1}));
    EXPECT_EQ((QList<QVariantList>{fields(stored), fields(*stored.media()[0]), fields(*stored.media()[1]),
                                   tagFields(*stored.tags()[0]), boardFields(*stored.boards()[0])}),
              expected);
}

TEST_F(ModelContainerTest, ByteFieldsAreFilesReplacedAndRemovedOnlyOnCommit)
{
    auto container = open();
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    container->mainContext().insert(media);
    media->setData(QByteArray("first"));
    container->mainContext().save();
    ASSERT_EQ(supportFiles().size(), 1);
    const QString first = supportFiles().first();

    media->setData(QByteArray("second"));
    EXPECT_EQ(supportFiles(), QStringList{first}) << "the old file stays until the replacement is committed";
    container->mainContext().save();
    ASSERT_EQ(supportFiles().size(), 1);
    EXPECT_NE(supportFiles().first(), first);
    EXPECT_EQ(media->data(), QByteArray("second"));

    media->setData(std::nullopt);
    container->mainContext().save();
    EXPECT_TRUE(supportFiles().isEmpty());
}

TEST_F(ModelContainerTest, MissingByteFileReadsAsNoBytes)
{
    {
        auto container = open();
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setData(QByteArray("bytes"));
        container->mainContext().insert(media);
        container->mainContext().save();
    }
    ASSERT_TRUE(QDir(ModelContainer::supportDirectory(storePath())).removeRecursively());

    auto container = open();
    const auto media = container->mainContext().fetch<Media>();
    ASSERT_EQ(media.size(), 1);
    EXPECT_FALSE(media.first()->data().has_value());
}

TEST_F(ModelContainerTest, FileThatIsNoDatabaseIsRefusedAndLeftAlone)
{
    const QByteArray garbage(4096, 'x');
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();

    EXPECT_THROW(open(), StoreError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
    EXPECT_FALSE(QFile::exists(storePath() + QStringLiteral("-wal")));
}

TEST_F(ModelContainerTest, AStoreHasOneOwnerAtATime)
{
    auto first = open();
    try {
        open();
        ADD_FAILURE() << "a second opener must be refused";
    } catch (const StoreError &error) {
        EXPECT_TRUE(error.message().contains(storePath())) << error.what();
        EXPECT_EQ(error.userMessage(), QStringLiteral("收藏库“%1”已经在另一个程序里打开").arg(storePath()));
    }
    first.reset();
    EXPECT_NO_THROW(open());
}

TEST_F(ModelContainerTest, AnOlderStoreIsUpgradedInPlaceAndANewerOneRefusedUntouched)
{
    {
        auto container = open();
        auto video = std::make_shared<Media>(MediaKind::video, 3);
        video->setRemoteURL(QStringLiteral("https://a/cover.jpg"));
        video->setVideo(QByteArray("motion"));
        container->mainContext().insert(video);
        container->mainContext().save();
    }
    runOnStore(storePath(), "ALTER TABLE Media DROP COLUMN kindRaw; ALTER TABLE Media DROP COLUMN videoSize; "
                            "PRAGMA user_version = 0");
    {
        auto container = open();
        const auto media = container->mainContext().fetch<Media>();
        ASSERT_EQ(media.size(), 1);
        EXPECT_EQ(media[0]->kindRaw(), QStringLiteral("image")) << "a new column holds the field's default";
        EXPECT_EQ(media[0]->videoSize(), 0);
        EXPECT_EQ(media[0]->order(), 3);
        EXPECT_EQ(media[0]->remoteURL(), QStringLiteral("https://a/cover.jpg"));
    }

    runOnStore(storePath(), "PRAGMA user_version = 99");
    const QByteArray before = digest(storePath());
    EXPECT_THROW(open(), StoreError);
    EXPECT_EQ(digest(storePath()), before);
}

TEST_F(ModelContainerTest, ByteFilesNoRowNamesAreSweptAtOpen)
{
    {
        auto container = open();
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setData(QByteArray("kept"));
        container->mainContext().insert(media);
        container->mainContext().save();
    }
    const QString folder = ModelContainer::supportDirectory(storePath());
    const QStringList strangers{"0B5E1F1A-3C1D-4F6A-9E2B-7D8C9A0B1C2D", "notes.txt",
                                "0b5e1f1a-3c1d-4f6a-9e2b-7d8c9a0b1c2d"};
    for (const QString &name : strangers) {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    auto container = open();
    EXPECT_EQ(supportFiles().size(), 3);
    EXPECT_FALSE(supportFiles().contains(strangers[0]));
    EXPECT_EQ(container->mainContext().fetch<Media>().first()->data(), QByteArray("kept"));
}

// Records are read at open without their long texts and byte files, which
// come in on first access: edits, deletes and undos must still keep them.
TEST_F(ModelContainerTest, RecordsReadInPartsKeepTheirTextsAndFilesThroughEditsDeletesAndUndos)
{
    {
        auto container = open();
        for (const char *title : {"edited", "deleted"}) {
            auto post =
                std::make_shared<Post>(QStringLiteral("https://weibo.com/%1").arg(title), Platform::weibo);
            post->setTitle(QString::fromLatin1(title));
            post->setContent(QStringLiteral("正文"));
            post->setNote(QStringLiteral("note"));
            auto media = std::make_shared<Media>(MediaKind::image, 0);
            media->setRemoteURL(QStringLiteral("https://img/1.jpg"));
            media->setImage(QByteArray("bytes"));
            post->setMedia({media});
            container->mainContext().insert(post);
        }
        container->mainContext().save();
    }
    ASSERT_EQ(supportFiles().size(), 2);
    const auto byTitle = [](ModelContext &context, const QString &title) {
        return context.fetch<Post>({[&](const Post &post) { return post.title() == title; }}).value(0);
    };
    {
        auto container = open();
        ModelContext &context = container->mainContext();
        const auto edited = byTitle(context, QStringLiteral("edited"));
        edited->setNote(QStringLiteral("changed"));
        edited->setIsArchived(true);
        context.remove(byTitle(context, QStringLiteral("deleted")));
        context.save();
        EXPECT_EQ(supportFiles().size(), 1) << "the deleted post's picture goes with it";
    }
    auto container = open();
    ModelContext &context = container->mainContext();
    const auto edited = byTitle(context, QStringLiteral("edited"));
    EXPECT_TRUE(edited->isArchived());
    EXPECT_EQ(edited->content(), QStringLiteral("正文"));
    EXPECT_EQ(edited->note(), QStringLiteral("changed"));
    EXPECT_EQ(edited->cover()->remoteURL(), QStringLiteral("https://img/1.jpg"));
    EXPECT_EQ(edited->cover()->data(), QByteArray("bytes"));

    // Deleted and saved, then brought back: written back whole.
    context.remove(edited);
    context.save();
    context.insert(edited);
    context.save();
    container.reset();
    container = open();
    const auto back = byTitle(container->mainContext(), QStringLiteral("edited"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->content(), QStringLiteral("正文"));
    EXPECT_EQ(back->note(), QStringLiteral("changed"));
}

TEST_F(ModelContainerTest, ARecordOutlivingItsStoreReadsWhatWasNeverReadAsEmpty)
{
    {
        auto container = open();
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setRemoteURL(QStringLiteral("https://img/1.jpg"));
        media->setImage(QByteArray("bytes"));
        container->mainContext().insert(media);
        container->mainContext().save();
    }
    auto container = open();
    const auto media = container->mainContext().fetch<Media>().value(0);
    container.reset();
    EXPECT_FALSE(media->data());
    EXPECT_TRUE(media->remoteURL().isEmpty());
    media->setThumbnail(QByteArray("made later"));
    EXPECT_EQ(media->thumbnail(), QByteArray("made later"));
}

TEST_F(ModelContainerTest, TheIndexReadAtOpenIsReplacedWhenItsFieldsChange)
{
    const auto openIndexes = [this] {
        QStringList names;
        sqlite3 *db = nullptr;
        sqlite3_open(storePath().toUtf8().constData(), &db);
        sqlite3_stmt *query = nullptr;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE name LIKE 'Post_open_%'", -1, &query,
                           nullptr);
        while (sqlite3_step(query) == SQLITE_ROW)
            names.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query, 0))));
        sqlite3_finalize(query);
        sqlite3_close(db);
        return names;
    };
    {
        auto container = open();
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
        post->setTitle(QStringLiteral("kept"));
        container->mainContext().insert(post);
        container->mainContext().save();
    }
    const QStringList current = openIndexes();
    ASSERT_EQ(current.size(), 1);
    runOnStore(storePath(), ("DROP INDEX " + current.first().toUtf8()).constData());
    runOnStore(storePath(), "CREATE INDEX Post_open_0 ON Post (pk, title)");
    auto container = open();
    EXPECT_EQ(openIndexes(), current);
    EXPECT_EQ(container->mainContext().fetch<Post>().value(0)->title(), QStringLiteral("kept"));
}

TEST_F(ModelContainerTest, AFullDiskOrAReadOnlyStoreIsReportedWithWhereItIs)
{
    SmallDisk disk;
    if (!disk.isMounted())
        GTEST_SKIP() << "needs a tmpfs mount";
    const QString path = disk.path() + QStringLiteral("/Library.store");
    {
        ModelContainer container(TamselStore::schema(), path);
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setData(QByteArray(1024 * 1024, 'x'));
        container.mainContext().insert(media);
        try {
            container.mainContext().save();
            ADD_FAILURE() << "the save must fail";
        } catch (const StoreError &error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("disk is full"))) << error.what();
            EXPECT_EQ(error.userMessage(), QStringLiteral("收藏库所在的磁盘已满"));
        }
    }
    ASSERT_TRUE(disk.makeReadOnly());
    try {
        ModelContainer container(TamselStore::schema(), path);
        ADD_FAILURE() << "a read-only store must be refused";
    } catch (const StoreError &error) {
        EXPECT_TRUE(error.message().contains(path) && error.message().contains(QStringLiteral("read-only")))
            << error.what();
        EXPECT_EQ(error.userMessage(), QStringLiteral("收藏库“%1”是只读的，无法保存").arg(path));
    }
}

// The process id of a program that has ended.
qint64 goneProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() ? process.processId() : 999999;
}

void leaveLockFile(const QString &path, const QByteArray &content)
{
    QFile lock(path);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(content);
    lock.flush();
    // Long enough ago that it cannot be a lock still being taken.
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
}

TEST_F(ModelContainerTest, ALockNobodyHoldsIsTakenOverAndAHeldOneNamesItsOwner)
{
    const QString lockPath = storePath() + QStringLiteral(".lock");
    const QByteArray leftovers[] = {
        {},
        "\xff\xfe\x00garbage",
        QByteArray::number(goneProcess()) + "\nkepsel\n" + QSysInfo::machineHostName().toUtf8() + "\n",
    };
    for (const QByteArray &content : leftovers) {
        leaveLockFile(lockPath, content);
        EXPECT_NO_THROW(open()) << content.toHex().constData();
    }

    auto first = open();
    try {
        open();
        ADD_FAILURE() << "a second opener must be refused";
    } catch (const StoreError &error) {
        const QString owner = QStringLiteral("in use by this program (%1, process %2)")
                                  .arg(QCoreApplication::applicationName())
                                  .arg(QCoreApplication::applicationPid());
        EXPECT_TRUE(error.message().contains(owner)) << error.what();
    }
}

// Left empty by a start killed while it took the lock, or by one still
// taking it: the store waits until the file names its holder or is old
// enough to take over, and never calls a free store open elsewhere.
TEST_F(ModelContainerTest, AYoungEmptyLockIsWaitedForUntilItNamesItsHolderOrIsOldEnough)
{
    const QString lockPath = storePath() + QStringLiteral(".lock");
    {
        LockWaitClock clock;
        clock.leaveLock(lockPath, {}, std::chrono::seconds(4));
        EXPECT_NO_THROW(open());
        EXPECT_GE(clock.waited(), LockFiles::takingTime - std::chrono::seconds(4));
        EXPECT_LT(clock.waited(), LockFiles::takingTime);
    }
    LockWaitClock clock;
    clock.leaveLock(lockPath, {}, {});
    clock.onPause(
        [&] { clock.leaveLock(lockPath, LockWaitClock::runningHolder(), std::chrono::seconds(1)); });
    try {
        open();
        ADD_FAILURE() << "a lock naming a running process must be refused";
    } catch (const StoreError &error) {
        EXPECT_EQ(error.userMessage(), QStringLiteral("收藏库“%1”已经在另一个程序里打开").arg(storePath()));
    }
    EXPECT_LT(clock.waited(), std::chrono::seconds(1)) << "refused as soon as the holder is named";
}

TEST_F(ModelContainerTest, WhyALibraryCannotBeOpenedOrWrittenIsSaid)
{
    {
        auto container = open();
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        container->mainContext().insert(media);
        leaveLockFile(ModelContainer::supportDirectory(storePath()), "a file in the way");
        media->setData(QByteArray("bytes"));
        try {
            container->mainContext().save();
            ADD_FAILURE() << "the save must fail";
        } catch (const StoreError &error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("is a file, not a folder"))) << error.what();
            EXPECT_EQ(error.userMessage(),
                      QStringLiteral("无法写入收藏库的文件夹“%1”：路径里有一项不是文件夹")
                          .arg(ModelContainer::supportDirectory(storePath())));
        }
    }

    SmallDisk disk;
    if (!disk.isMounted())
        GTEST_SKIP() << "needs a tmpfs mount";
    disk.fill();
    try {
        ModelContainer container(TamselStore::schema(), disk.path() + QStringLiteral("/Library.store"));
        ADD_FAILURE() << "a store on a full disk cannot be locked";
    } catch (const StoreError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("the disk is full"))) << error.what();
    }
}

// The user is told what the log is: the cause, not only that the library
// could not be saved.
TEST_F(ModelContainerTest, AnUnwritableSupportFolderTellsTheUserWhy)
{
    auto container = open();
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    container->mainContext().insert(media);
    const QString support = ModelContainer::supportDirectory(storePath());
    const UnwritableFolder unwritable(support);
    if (!unwritable.isUnwritable())
        GTEST_SKIP() << "cannot keep this process from writing in a folder";
    media->setData(QByteArray("bytes"));
    try {
        container->mainContext().save();
        ADD_FAILURE() << "the save must fail";
    } catch (const StoreError &error) {
        EXPECT_EQ(error.userMessage(), QStringLiteral("无法写入收藏库的文件夹“%1”：没有权限").arg(support));
    }
}

// The store's folder is made before the store opens and is missing when
// that failed: the message names why, not that something cannot be found.
TEST_F(ModelContainerTest, ANewStoreOnAFullDiskSaysTheDiskIsFull)
{
    SmallDisk disk;
    if (!disk.isMounted())
        GTEST_SKIP() << "needs a tmpfs mount";
    disk.fill();
    const QString path = disk.path() + QStringLiteral("/Kepsel/Kepsel.store");
    try {
        ModelContainer container(TamselStore::schema(), path);
        ADD_FAILURE() << "a store on a full disk cannot be made";
    } catch (const StoreError &error) {
        EXPECT_EQ(error.userMessage(), QStringLiteral("无法锁定收藏库“%1”：磁盘已满").arg(path));
    }
}

} // namespace
