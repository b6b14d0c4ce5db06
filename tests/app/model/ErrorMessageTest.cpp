#include "BackupError.h"
#include "BackupFolder.h"
#include "ErrorMessage.h"
#include "FileError.h"
#include "StoreError.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

// The English of a file or store failure stays in the log; the user reads
// their own words.
TEST(ErrorMessageTest, FileStoreAndFolderFailuresGiveTheUsersWordsOthersTheirMessage)
{
    EXPECT_EQ(
        errorMessage(FileError(FileError::Action::write, QStringLiteral("/shared/Kepsel 备份.json"), ENOSPC)),
        QStringLiteral("无法写入“Kepsel 备份.json”：磁盘已满"));
    EXPECT_EQ(errorMessage(StoreError(QStringLiteral("/x: COMMIT: database or disk is full"),
                                      QStringLiteral("收藏库所在的磁盘已满"))),
              QStringLiteral("收藏库所在的磁盘已满"));
    EXPECT_EQ(errorMessage(Backup::BackupError::unreadable(QStringLiteral("posts[3].id: not a UUID"))),
              QStringLiteral("备份文件无法读取，可能已经损坏"));
    EXPECT_EQ(errorMessage(BackupFolder::FolderError(BackupFolder::FolderError::notSet)),
              QStringLiteral("还没有选择备份文件夹"));
    EXPECT_EQ(errorMessage(std::runtime_error("网络请求失败")), QStringLiteral("网络请求失败"));
}

} // namespace
