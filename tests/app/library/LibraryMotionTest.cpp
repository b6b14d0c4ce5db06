#include "Motion.h"
#include "SegmentBar.h"
#include "SidebarRow.h"
#include "SteppedMotions.h"
#include "TiltHover.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class LibraryMotionTest : public ::testing::Test {
    SteppedMotions m_stepped;
};

TEST_F(LibraryMotionTest, TheTiltSpringsInFollowsAndSpringsBack)
{
    TiltHover tilt;
    EXPECT_FALSE(tilt.point());
    tilt.hover(QPointF(10, 20));
    // The pointer is taken at once; the picture only starts leaning.
    EXPECT_EQ(tilt.amount(), 0.0);
    tilt.amountMotion().setCurrentTime(tilt.amountMotion().duration() / 4);
    EXPECT_GT(tilt.amount(), 0.0);
    ASSERT_TRUE(tilt.point());
    EXPECT_EQ(*tilt.point(), QPointF(10, 20)) << "leans from where the pointer came in";
    tilt.amountMotion().finish();
    EXPECT_EQ(tilt.amount(), 1.0);

    tilt.leave();
    EXPECT_EQ(tilt.amount(), 1.0) << "springs back, does not snap";
    tilt.amountMotion().setCurrentTime(tilt.amountMotion().duration() / 5);
    EXPECT_LT(tilt.amount(), 1.0);
    // Coming back mid-way takes over from where the tilt stands.
    const qreal midway = tilt.amount();
    tilt.hover(QPointF(30, 20));
    EXPECT_NEAR(tilt.amount(), midway, 1e-6);

    tilt.clear();
    EXPECT_EQ(tilt.amount(), 0.0);
    EXPECT_FALSE(tilt.point());
}

TEST_F(LibraryMotionTest, TheSegmentHighlightSlidesToTheChosenTitle)
{
    SegmentBar bar({QStringLiteral("合集"), QStringLiteral("标签"), QStringLiteral("作者")});
    bar.resize(bar.sizeHint());
    bar.show();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.segmentRect(2).center());
    EXPECT_EQ(bar.current(), 2) << "the choice is made at once";
    EXPECT_EQ(bar.highlightRect(), QRectF(bar.segmentRect(0)));
    bar.highlightMotion().setCurrentTime(bar.highlightMotion().duration() / 6);
    const QRectF between = bar.highlightRect();
    EXPECT_GT(between.left(), bar.segmentRect(0).left());
    EXPECT_LT(between.left(), bar.segmentRect(2).left());
    // A new choice on the way starts from where the highlight is.
    bar.setCurrent(1);
    EXPECT_EQ(bar.highlightRect(), between);
    bar.highlightMotion().finish();
    EXPECT_EQ(bar.highlightRect(), QRectF(bar.segmentRect(1)));
}

TEST_F(LibraryMotionTest, SidebarRowsEaseIntoTheirSelection)
{
    SidebarRow row(QStringLiteral("收藏"), QStringLiteral("tray"), false);
    row.setSelected(true);
    EXPECT_EQ(row.selectionMotion().value().toReal(), 1.0) << "a hidden row shows its state at once";
    row.show();
    row.setSelected(false);
    EXPECT_EQ(row.selectionMotion().state(), QAbstractAnimation::Running);
    EXPECT_EQ(row.selectionMotion().duration(), 150);
}

} // namespace
