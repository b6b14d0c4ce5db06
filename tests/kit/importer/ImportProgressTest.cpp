#include "ImportProgress.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Phase = ImportProgress::Phase;

class ImportProgressTest : public ::testing::Test {
protected:
    ImportProgress progress;
    QUuid post = QUuid::createUuid();
    QUuid video = QUuid::createUuid();
    QUuid image = QUuid::createUuid();

    void startVideoAndImage() { progress.startDownloading(post, {{video, true}, {image, false}}); }
    double fraction() const { return progress.phase(post).value().fraction(); }
};

TEST_F(ImportProgressTest, PhasesFromParsingToDownloadingToGone)
{
    QSignalSpy changes(&progress, &ImportProgress::phasesChanged);
    EXPECT_FALSE(progress.phase(post).has_value());
    progress.startParsing(post);
    EXPECT_EQ(progress.phase(post), Phase::parsing());
    startVideoAndImage();
    EXPECT_EQ(progress.phase(post), Phase::downloading(0.0));
    progress.finish(post);
    EXPECT_TRUE(progress.phases().isEmpty());
    EXPECT_EQ(changes.count(), 3);

    progress.startParsing(post);
    progress.startDownloading(post, {});
    EXPECT_FALSE(progress.phase(post).has_value());
}

TEST_F(ImportProgressTest, VideoWeighsTenImagesAndUnknownLengthsCountHalf)
{
    startVideoAndImage();
    progress.update(post, image, 4096, -1);
    EXPECT_DOUBLE_EQ(fraction(), 0.5 / 11);
    progress.update(post, video, 50, 100);
    progress.complete(post, image);
    EXPECT_DOUBLE_EQ(fraction(), (10 * 0.5 + 1.0) / 11);
}

TEST_F(ImportProgressTest, CompleteWithoutBytesCountsWholeAndOverrunIsCapped)
{
    startVideoAndImage();
    progress.complete(post, video);
    EXPECT_DOUBLE_EQ(fraction(), 10.0 / 11);
    progress.update(post, image, 5000, 100);
    EXPECT_DOUBLE_EQ(fraction(), 1.0);
}

TEST_F(ImportProgressTest, UnlistedPostOrMediaChangesNothing)
{
    progress.update(post, image, 1, 2);
    progress.complete(post, image);
    EXPECT_FALSE(progress.phase(post).has_value());

    startVideoAndImage();
    progress.complete(post, video);
    progress.startDownloading(post, {{image, false}}); // replaces the earlier items
    progress.update(post, video, 1, 1);
    progress.complete(post, QUuid::createUuid());
    EXPECT_EQ(progress.phase(post), Phase::downloading(0.0));
}

} // namespace
