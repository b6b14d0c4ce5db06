#include "ImportProgress.h"

#include <gtest/gtest.h>

namespace {

// A video weighs ten images, an unknown length counts half, a completed item
// counts whole and an overrun is capped.
TEST(ImportProgressTest, FractionWeighsTheItemsAndIsCapped)
{
    ImportProgress progress;
    const QUuid post = QUuid::createUuid(), video = QUuid::createUuid(), image = QUuid::createUuid();
    const auto fraction = [&] { return progress.phase(post).value().fraction(); };
    progress.startDownloading(post, {{video, true}, {image, false}});
    progress.update(post, image, 4096, -1);
    EXPECT_DOUBLE_EQ(fraction(), 0.5 / 11);
    progress.update(post, video, 50, 100);
    progress.complete(post, image);
    EXPECT_DOUBLE_EQ(fraction(), (10 * 0.5 + 1.0) / 11);

    progress.startDownloading(post, {{video, true}, {image, false}});
    progress.complete(post, video);
    EXPECT_DOUBLE_EQ(fraction(), 10.0 / 11);
    progress.update(post, image, 5000, 100);
    EXPECT_DOUBLE_EQ(fraction(), 1.0);
}

} // namespace
