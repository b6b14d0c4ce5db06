#include "PrivateTempFolder.h"

#include "TestHome.h"

#include <QFileInfo>
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

} // namespace
