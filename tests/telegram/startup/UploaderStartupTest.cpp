// A program of its own: the shared uploader is made once per process, and
// that first making is what is tested here.
#include "BackgroundUploader.h"
#include "PrivateTempFolder.h"
#include "TelegramSync.h"
#include "TestHome.h"

#include <QDateTime>
#include <QFile>

namespace {

QString leftover(const QString &name, qint64 ageSeconds)
{
    const QString path = PrivateTempFolder::path() + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    return path;
}

TEST(UploaderStartupTest, OnlyOldUploadBodiesAreSweptWhenTheUploaderIsMade)
{
    TestHome home;
    const QString old = leftover(BackgroundUploader::filePrefix + "OLD", 3700);
    const QString recent = leftover(BackgroundUploader::filePrefix + "NEW", 3500);
    const QString download = leftover("dl-OLD", 3700);
    TelegramSync::resumeBackgroundUploads();
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(recent));
    EXPECT_TRUE(QFile::exists(download));
}

} // namespace
