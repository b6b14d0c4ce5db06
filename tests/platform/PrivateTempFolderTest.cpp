#include "PrivateTempFolder.h"

#include "Clock.h"
#include "TestHome.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

using PrivateTempFolderTest = HomeTest;

TEST_F(PrivateTempFolderTest, FolderIsOwnerOnlyInsideTheHome)
{
    const QString folder = PrivateTempFolder::path();
    EXPECT_TRUE(folder.startsWith(home.path()));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_FALSE(QFileInfo(folder).permissions() & others);
}

TEST_F(PrivateTempFolderTest, SweepRemovesOnlyOldFilesOfItsPrefix)
{
    QTemporaryFile download(PrivateTempFolder::fileTemplate(QStringLiteral("dl-")));
    download.setAutoRemove(false);
    ASSERT_TRUE(download.open());
    QTemporaryFile upload(PrivateTempFolder::fileTemplate(QStringLiteral("tg-upload-")));
    upload.setAutoRemove(false);
    ASSERT_TRUE(upload.open());

    PrivateTempFolder::sweep(QStringLiteral("dl-"), std::chrono::hours(1));
    EXPECT_TRUE(QFile::exists(download.fileName()));

    Clock::setSource([] { return QDateTime::currentDateTimeUtc().addSecs(7200); });
    PrivateTempFolder::sweep(QStringLiteral("dl-"), std::chrono::hours(1));
    EXPECT_FALSE(QFile::exists(download.fileName()));
    EXPECT_TRUE(QFile::exists(upload.fileName()));
}

} // namespace
