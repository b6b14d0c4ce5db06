#include "ImportProgress.h"

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
    progress.startParsing(post);
    EXPECT_EQ(progress.phase(post), Phase::parsing());
    startVideoAndImage();
    EXPECT_EQ(progress.phase(post), Phase::downloading(0.0));
    progress.finish(post);
    EXPECT_TRUE(progress.phases().isEmpty());

    progress.startParsing(post);
    progress.startDownloading(post, {});
    EXPECT_FALSE(progress.phase(post).has_value()) << "nothing to download: done";
}

// A video weighs ten images, an unknown length counts half, a completed item
// counts whole and an overrun is capped.
TEST_F(ImportProgressTest, FractionWeighsTheItems)
{
    startVideoAndImage();
    progress.update(post, image, 4096, -1);
    EXPECT_DOUBLE_EQ(fraction(), 0.5 / 11);
    progress.update(post, video, 50, 100);
    progress.complete(post, image);
    EXPECT_DOUBLE_EQ(fraction(), (10 * 0.5 + 1.0) / 11);

    startVideoAndImage();
    progress.complete(post, video);
    EXPECT_DOUBLE_EQ(fraction(), 10.0 / 11);
    progress.update(post, image, 5000, 100);
    EXPECT_DOUBLE_EQ(fraction(), 1.0);
}

TEST_F(ImportProgressTest, UnlistedPostOrMediaChangesNothing)
{
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
