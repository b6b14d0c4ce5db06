#include "Media.h"
#include "MediaItemView.h"
#include "MediaPages.h"
#include "Motion.h"
#include "SteppedMotions.h"

#include <gtest/gtest.h>

namespace {

TEST(MediaPagesTest, ANewItemSlidesInOnTheSpringFromWhereTheStageStands)
{
    const SteppedMotions stepped;
    QList<std::shared_ptr<Media>> media;
    for (int order = 0; order < 4; ++order)
        media.append(std::make_shared<Media>(MediaKind::image, order));
    MediaPages pages;
    pages.resize(300, 200);
    pages.setPages(media, 0);
    pages.show();
    const int step = pages.width() + MediaPages::gap;

    pages.setPages(media, 1);
    EXPECT_EQ(pages.view(1)->x(), step) << "the next item starts beside the stage";
    pages.slide().setCurrentTime(pages.slide().duration() / 8);
    const int moving = pages.view(1)->x();
    EXPECT_GT(moving, 0);
    EXPECT_LT(moving, step);
    // Paging on before it lands goes on from there.
    pages.setPages(media, 2);
    EXPECT_EQ(pages.view(1)->x(), moving);
    pages.slide().finish();
    EXPECT_EQ(pages.view(2)->x(), 0);
    EXPECT_EQ(pages.view(1)->x(), -step);
}

} // namespace
