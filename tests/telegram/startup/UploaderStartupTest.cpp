// A program of its own: the shared uploader is made once per process, and
// that first making is what is tested here.
#include "BackgroundUploader.h"
#include "Clock.h"
#include "PrivateTempFolder.h"
#include "TelegramSync.h"
#include "TestHome.h"

#include <QDateTime>
#include <QFile>

namespace {

// The sweep reads this clock, so the ages below are exact however slow the machine.
const QDateTime now = QDateTime::currentDateTime();

QString leftover(const QString &name, qint64 ageSeconds)
{
    const QString path = PrivateTempFolder::path() + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    return path;
}

TEST(UploaderStartupTest, OnlyOldUploadBodiesAreSweptWhenTheUploaderIsMade)
{
    TestHome home;
    Clock::setSource([] { return now; });
    const qint64 age = BackgroundUploader::leftoverAge.count();
    const QString old = leftover(BackgroundUploader::filePrefix + "OLD", age + 1);
    const QString recent = leftover(BackgroundUploader::filePrefix + "NEW", age - 1);
    const QString download = leftover("dl-OLD", 3700);
    TelegramSync::resumeBackgroundUploads();
    Clock::setSource({});
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(recent));
    EXPECT_TRUE(QFile::exists(download));
}

} // namespace
