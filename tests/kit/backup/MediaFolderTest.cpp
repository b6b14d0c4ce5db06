#include "MediaFolder.h"

#include "BackupFolder.h"
#include "FileError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MediaFolderTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    const QUuid id = QUuid::fromString(QStringLiteral("3f2504e0-4f89-11d3-9a0c-0305e82c3301"));
};

TEST_F(MediaFolderTest, NamesListingAndReadingGoByTheFileAPlaceholderStandsFor)
{
    EXPECT_EQ(MediaFolder::imageName(id), QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301.jpg"));
    EXPECT_EQ(MediaFolder::videoName(id), QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301.mp4"));
    const QString image = MediaFolder::imageName(id);
    put(BackupFolder::placeholderName(image), "");
    put(MediaFolder::videoName(id), "video");

    const auto listing = MediaFolder::listing(dir.path());
    EXPECT_EQ(listing.value(image), BackupFolder::placeholderName(image));
    EXPECT_EQ(listing.value(MediaFolder::videoName(id)), MediaFolder::videoName(id));
    EXPECT_TRUE(MediaFolder::listing(path(QStringLiteral("missing"))).isEmpty());

    // A placeholder reads as its file once that has arrived, and fails before.
    EXPECT_THROW(MediaFolder::read(path(BackupFolder::placeholderName(image))), FileError);
    put(image, "image");
    EXPECT_EQ(MediaFolder::read(path(BackupFolder::placeholderName(image))), QByteArray("image"));
}

TEST_F(MediaFolderTest, LinksAreNotReadAndOnlyUUIDNamesArePruned)
{
    QTemporaryDir outside;
    QFile secret(outside.filePath(QStringLiteral("secret")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("private");
    secret.close();
    const QString linked = MediaFolder::imageName(id);
    ASSERT_TRUE(QFile::link(secret.fileName(), path(linked)));
    EXPECT_THROW(MediaFolder::read(path(linked)), FileError);

    const QString other = MediaFolder::videoName(QUuid::createUuid());
    const QString lowerCase = MediaFolder::imageName(QUuid::createUuid()).toLower();
    for (const QString &name :
         {other, lowerCase, QStringLiteral("{%1}.jpg").arg(id.toString(QUuid::WithoutBraces)),
          QStringLiteral("notes.txt")})
        put(name, "x");
    MediaFolder::prune(dir.path(), MediaFolder::listing(dir.path()), {id});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System, QDir::Name),
              (QStringList{linked, QStringLiteral("notes.txt"),
                           QStringLiteral("{%1}.jpg").arg(id.toString(QUuid::WithoutBraces))}));
    EXPECT_TRUE(QFile::exists(secret.fileName()));
}

} // namespace
