#include "../library/LibraryFixture.h"
#include "FileReveal.h"
#include "MediaExport.h"
#include "MediaPane.h"
#include "PostDetailView.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

class MediaExportTest : public LibraryFixture {
protected:
    MediaExportTest()
    {
        FileReveal::setHandler([this](const QString &path) {
            revealed.append(path);
            return revealing;
        });
    }
    ~MediaExportTest() override { FileReveal::setHandler({}); }

    std::shared_ptr<Media> addMotion(const std::shared_ptr<Post> &post, MediaKind kind,
                                     const QByteArray &motion, bool withStill = false)
    {
        auto media = withStill ? addCover(post, 120, 80, Qt::red, kind) : addCover(post, 0, 0, Qt::red, kind);
        media->setVideo(motion);
        return media;
    }

    // A picture, an item not downloaded yet and a song, under a title that
    // names the parent folder.
    std::shared_ptr<Post> mixedPost(const QString &title = QStringLiteral(".."),
                                    const QString &author = QStringLiteral("林"))
    {
        auto post = addPost(title, Platform::weibo, author);
        addCover(post, 120, 80);
        addCover(post, 0, 0, Qt::red, MediaKind::video);
        addMotion(post, MediaKind::audio, song);
        save();
        return post;
    }

    std::unique_ptr<PostDetailView> view(const std::shared_ptr<Post> &post)
    {
        auto shown = std::make_unique<PostDetailView>(post, context, pendingDelete);
        shown->setFilePanels({[this](QWidget *, const QString &name, const QString &filter) {
                                  proposed.append({name, filter});
                                  return saveAnswer;
                              },
                              [this](QWidget *) { return exportAnswer; }});
        return shown;
    }

    const QByteArray song = QByteArrayLiteral("ID3 pretend song");
    UndoableDelete pendingDelete;
    QStringList revealed;
    bool revealing = true;
    QList<QStringList> proposed;
    QString saveAnswer;
    QString exportAnswer;
};

TEST_F(MediaExportTest, FileBaseIsASafeNonEmptyNameThatFitsTheFileSystem)
{
    EXPECT_EQ(MediaExport::fileBase(QStringLiteral("a/b:c?"), {}), QStringLiteral("a b c"));
    EXPECT_EQ(MediaExport::fileBase(QStringLiteral(" ../ "), {}), QStringLiteral("Kepsel"));

    // A family of four is one character of 25 bytes: the cut falls between
    // two families, short enough for "-12.jpg".
    const QString family = QStringLiteral("👨‍👩‍👧‍👦");
    const QString base = MediaExport::fileBase(family.repeated(40), {});
    EXPECT_EQ(base, family.repeated(9));
    EXPECT_LE((base + QStringLiteral("-12.jpg")).toUtf8().size(), 255);
}

TEST_F(MediaExportTest, PrivateCopiesTakeTheExtensionOfTheirKindAndGoAtStart)
{
    auto post = addPost(QStringLiteral("合集"));
    auto song = addMotion(post, MediaKind::audio, this->song);
    auto motionOnly = addMotion(post, MediaKind::livePhoto, QByteArrayLiteral("pretend clip"));
    save();

    const QString songFile = MediaExport::file(*song, QStringLiteral("合集/1")).value_or(QString());
    EXPECT_TRUE(songFile.endsWith(QStringLiteral("/合集 1.mp3")));
    EXPECT_EQ(contents(songFile), this->song);
    EXPECT_TRUE(MediaExport::file(*motionOnly, QStringLiteral("x")).value_or(QString()).endsWith(".mov"));

    const QString folder = MediaExport::temporaryFolder();
    EXPECT_TRUE(folder.startsWith(home.path() + QStringLiteral("/cache/")));
    const QFileDevice::Permissions othersAndGroup(0x0077);
    EXPECT_FALSE(QFile::permissions(folder) & othersAndGroup);
    MediaExport::clearTemporaryFolder();
    EXPECT_TRUE(entries(folder).isEmpty());
}

TEST_F(MediaExportTest, EachExportMakesItsOwnFolderAndRevealsIt)
{
    const QString parent = home.path() + QStringLiteral("/exports");
    QDir().mkpath(parent);
    exportAnswer = parent;
    auto shown = view(mixedPost());
    TestAsync::waitFor(shown->exportAll());
    TestAsync::waitFor(shown->exportAll());
    EXPECT_EQ(entries(parent), (QStringList{QStringLiteral("Kepsel"), QStringLiteral("Kepsel 2")}));
    for (const QString &name : entries(parent)) {
        const QString folder = parent + QLatin1Char('/') + name;
        EXPECT_EQ(entries(folder), (QStringList{QStringLiteral("1.jpg"), QStringLiteral("3.mp3")}));
        EXPECT_EQ(contents(folder + QStringLiteral("/3.mp3")), song);
    }
    EXPECT_EQ(revealed.size(), 2);
}

TEST_F(MediaExportTest, AFolderNothingRevealsIsNamedBesideTheCount)
{
    const QString parent = home.path() + QStringLiteral("/exports");
    QDir().mkpath(parent);
    exportAnswer = parent;
    revealing = false;
    auto shown = view(mixedPost());
    QSignalSpy toasts(shown.get(), &PostDetailView::toastRequested);
    TestAsync::waitFor(shown->exportAll());
    ASSERT_EQ(toasts.size(), 1);
    EXPECT_EQ(toasts[0][0].toString(),
              QStringLiteral("已导出 2 个文件，没有程序能打开 %1/Kepsel").arg(parent));
}

TEST_F(MediaExportTest, PostWithoutTitleSavesAndExportsUnderItsAuthorsName)
{
    const QString parent = home.path() + QStringLiteral("/exports");
    QDir().mkpath(parent);
    exportAnswer = parent;
    auto shown = view(mixedPost(QString(), QStringLiteral("摄影/阿林")));
    TestAsync::waitFor(shown->saveCurrent());
    ASSERT_EQ(proposed.size(), 1);
    EXPECT_EQ(proposed[0][0], QStringLiteral("摄影 阿林-1.jpg"));
    TestAsync::waitFor(shown->exportAll());
    EXPECT_EQ(entries(parent), QStringList{QStringLiteral("摄影 阿林")});
}

TEST_F(MediaExportTest, ReadOnlyExportFolderGivesAnErrorAndWritesNothing)
{
    // Permissions do not hold back root; the kernel's folders do.
    QString readOnly = QStringLiteral("/sys");
    if (geteuid() != 0) {
        readOnly = home.path() + QStringLiteral("/locked");
        QDir().mkpath(readOnly);
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    exportAnswer = readOnly;
    auto shown = view(mixedPost(QStringLiteral("只读")));
    QSignalSpy toasts(shown.get(), &PostDetailView::toastRequested);
    TestAsync::waitFor(shown->exportAll());
    EXPECT_EQ(toasts.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(readOnly + QStringLiteral("/只读")));
    EXPECT_TRUE(revealed.isEmpty());
}

TEST_F(MediaExportTest, StillsThatCannotBecomeJPEGKeepTheirBytesUnderTheirOwnTypesName)
{
    auto post = addPost(QStringLiteral("图"));
    const QByteArray png = TestImages::encoded(40, 30, Qt::blue, "png");
    const QByteArray cutPNG = png.left(png.size() / 2);
    const QByteArray unknown = QByteArrayLiteral("\x01\x02 not a picture");
    const QList<std::pair<QByteArray, QString>> cases{
        {png, QStringLiteral("jpg")}, {cutPNG, QStringLiteral("png")}, {unknown, QStringLiteral("bin")}};
    for (const auto &[bytes, extension] : cases) {
        auto media = addCover(post, 40, 30);
        media->setImage(bytes);
        const auto payload = MediaExport::savedPayload(*media);
        ASSERT_TRUE(payload);
        EXPECT_EQ(payload->extension, extension);
        EXPECT_EQ(payload->bytes.startsWith("\xff\xd8"), extension == QStringLiteral("jpg"));
        if (extension != QStringLiteral("jpg"))
            EXPECT_EQ(payload->bytes, bytes);
    }
}

TEST_F(MediaExportTest, SaveProposesTheItemNameAndTypeThenWritesTheBytes)
{
    auto shown = view(mixedPost(QStringLiteral("a/b:c?")));
    QSignalSpy toasts(shown.get(), &PostDetailView::toastRequested);
    TestAsync::waitFor(shown->saveCurrent());
    ASSERT_EQ(proposed.size(), 1);
    EXPECT_EQ(proposed[0][0], QStringLiteral("a b c-1.jpg"));

    saveAnswer = home.path() + QStringLiteral("/歌.mp3");
    shown->mediaPane()->jump(2);
    TestAsync::waitFor(shown->saveCurrent());
    EXPECT_EQ(contents(saveAnswer), song);

    saveAnswer = home.path() + QStringLiteral("/no/such/folder/歌.mp3");
    TestAsync::waitFor(shown->saveCurrent());
    ASSERT_EQ(toasts.size(), 2);
    EXPECT_TRUE(toasts[1][0].toString().startsWith(QStringLiteral("无法写入")));
}

TEST_F(MediaExportTest, ANameRetypedWithoutItsTypesExtensionIsSavedWithIt)
{
    // A title with a dot: only what follows the name's last dot is its extension.
    auto shown = view(mixedPost(QStringLiteral("v1.2 trip")));
    const QString folder = home.path() + QStringLiteral("/saved");
    QDir().mkpath(folder);
    const QList<std::pair<int, QStringList>> cases{
        {0, {QStringLiteral("beach"), QStringLiteral("beach.jpg")}},
        {0, {QStringLiteral("beach.JPEG"), QStringLiteral("beach.JPEG")}},
        {0, {QStringLiteral("beach.png"), QStringLiteral("beach.png.jpg")}},
        {0, {QStringLiteral("v1.2 trip-1.jpg"), QStringLiteral("v1.2 trip-1.jpg")}},
        {0, {QStringLiteral("v1.2 trip"), QStringLiteral("v1.2 trip.jpg")}},
        {2, {QStringLiteral("歌"), QStringLiteral("歌.mp3")}},
    };
    QStringList expected;
    for (const auto &[item, names] : cases) {
        shown->mediaPane()->jump(item);
        saveAnswer = folder + QLatin1Char('/') + names[0];
        TestAsync::waitFor(shown->saveCurrent());
        expected.append(names[1]);
    }
    ASSERT_EQ(proposed.size(), cases.size());
    EXPECT_EQ(proposed[0][0], QStringLiteral("v1.2 trip-1.jpg"));
    QStringList saved = entries(folder);
    saved.sort();
    expected.sort();
    EXPECT_EQ(saved, expected);
}

} // namespace
