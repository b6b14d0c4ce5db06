#include "CrossFade.h"
#include "Motion.h"
#include "SlideIn.h"
#include "SteppedMotions.h"

#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QWidget>

#include <QPointF>
#include <gtest/gtest.h>

namespace {

class MotionTest : public ::testing::Test {
    SteppedMotions m_stepped;
};

TEST_F(MotionTest, CurvesStartAtZeroAndLandExactlyOnTheTarget)
{
    for (const Motion::Curve &curve : {Motion::Curve::spring(0.3, 0.85), Motion::Curve::spring(0.4, 1.0),
                                       Motion::Curve::easeInOut(0.25), Motion::Curve::easeOut(0.12)}) {
        EXPECT_NEAR(curve.at(0), 0, 1e-9);
        EXPECT_EQ(curve.at(1), 1);
        EXPECT_NEAR(curve.at(0.999), 1, 0.002);
    }
    EXPECT_EQ(Motion::Curve::easeInOut(0.25).durationMs(), 250);
    EXPECT_NEAR(Motion::Curve::easeInOut(0.25).at(0.5), 0.5, 1e-9);
}

TEST_F(MotionTest, AnUnderdampedSpringOvershootsWhileACriticalOneNeverDoes)
{
    const auto peak = [](const Motion::Curve &curve) {
        qreal highest = 0;
        for (int step = 0; step <= 1000; ++step)
            highest = std::max(highest, curve.at(step / 1000.0));
        return highest;
    };
    EXPECT_GT(peak(Motion::Curve::spring(0.45, 0.72)), 1.01);
    EXPECT_LE(peak(Motion::Curve::spring(0.4, 1.0)), 1.0);
    // A softer spring takes longer to settle.
    EXPECT_GT(Motion::Curve::spring(0.45, 0.72).durationMs(), Motion::Curve::spring(0.28, 0.82).durationMs());
}

TEST_F(MotionTest, ANewTargetTakesOverFromWhereTheValueStands)
{
    Motion motion(Motion::Curve::easeInOut(0.2), 0.0);
    motion.animateTo(10.0);
    EXPECT_EQ(motion.target().toReal(), 10.0);
    motion.setCurrentTime(100);
    const qreal halfway = motion.value().toReal();
    EXPECT_NEAR(halfway, 5, 0.01);

    motion.animateTo(0.0);
    EXPECT_EQ(motion.state(), QAbstractAnimation::Running);
    EXPECT_NEAR(motion.value().toReal(), halfway, 0.01);
    motion.setCurrentTime(0);
    EXPECT_NEAR(motion.value().toReal(), halfway, 0.01);
    motion.finish();
    EXPECT_EQ(motion.value().toReal(), 0.0);
    EXPECT_EQ(motion.state(), QAbstractAnimation::Stopped);
}

TEST_F(MotionTest, PointsMoveAlongTheCurveAndInstantMotionJumps)
{
    Motion motion(Motion::Curve::spring(0.3, 1.0), QPointF(0, 0));
    motion.animateTo(QPointF(100, 50));
    motion.setCurrentTime(motion.duration() / 4);
    const QPointF between = motion.value().toPointF();
    EXPECT_GT(between.x(), 0);
    EXPECT_LT(between.x(), 100);
    EXPECT_NEAR(between.y(), between.x() / 2, 0.01);

    Motion::setInstant(true);
    motion.animateTo(QPointF(-1, -1));
    EXPECT_EQ(motion.value().toPointF(), QPointF(-1, -1));
    EXPECT_EQ(motion.state(), QAbstractAnimation::Stopped);
}

TEST_F(MotionTest, AnOverlaySlidesInFromBelowAndOutAgainThenHides)
{
    QWidget window;
    window.resize(400, 300);
    auto *bar = new QWidget(&window);
    bar->resize(100, 30);
    bar->hide();
    window.show();
    SlideIn slide(bar);

    slide.showAt(QPoint(150, 246));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->pos(), QPoint(150, 300)) << "starts just below the edge";
    slide.presence().setCurrentTime(slide.presence().duration() / 3);
    EXPECT_GT(bar->y(), 246);
    EXPECT_LT(bar->y(), 300);
    slide.presence().finish();
    EXPECT_EQ(bar->pos(), QPoint(150, 246));
    EXPECT_FALSE(bar->graphicsEffect()) << "no fade left behind at rest";

    // A new place takes over smoothly; leaving hides only once out of sight.
    slide.showAt(QPoint(150, 200));
    EXPECT_EQ(bar->pos(), QPoint(150, 246));
    slide.place().finish();
    EXPECT_EQ(bar->pos(), QPoint(150, 200));
    slide.hide();
    EXPECT_TRUE(bar->isVisible());
    slide.presence().finish();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(MotionTest, ACrossFadeHandsOverAndLeavesNoEffectBehind)
{
    QWidget window;
    window.resize(300, 200);
    auto *from = new QLabel(QStringLiteral("合集"), &window);
    auto *to = new QLabel(QStringLiteral("标签"), &window);
    from->setGeometry(0, 0, 300, 200);
    to->setGeometry(0, 0, 300, 200);
    to->hide();
    window.show();

    CrossFade *fade = CrossFade::start(from, to);
    from->hide();
    to->show();
    auto *picture = window.findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    const auto pictures = [&] { return window.findChildren<QLabel *>().size() - 2; };
    EXPECT_EQ(pictures(), 1) << "the old view's picture stands over the new one";
    ASSERT_TRUE(picture);
    auto *fadeIn = qobject_cast<QGraphicsOpacityEffect *>(to->graphicsEffect());
    ASSERT_TRUE(fadeIn);
    EXPECT_EQ(fadeIn->opacity(), 0.0);
    fade->motion().setCurrentTime(fade->motion().duration() / 4);
    EXPECT_GT(fadeIn->opacity(), 0.0);

    // A newer fade takes over and the first one cleans up after itself.
    CrossFade::start(to, from)->motion().finish();
    EXPECT_FALSE(to->graphicsEffect());
    EXPECT_FALSE(from->graphicsEffect());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pictures(), 0);
}

} // namespace
