#include "../library/LibraryFixture.h"
#include "MediaPane.h"
#include "PostDetailView.h"
#include "SwipeCatcher.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Made on first use, once the application exists.
const QPointingDevice *touchpad()
{
    static const QPointingDevice device(
        QStringLiteral("test touchpad"), 9001, QInputDevice::DeviceType::TouchPad,
        QPointingDevice::PointerType::Finger,
        QInputDevice::Capability::Position | QInputDevice::Capability::Scroll, 2, 0);
    return &device;
}

const QPointingDevice *mouse()
{
    static const QPointingDevice device(QStringLiteral("test mouse"), 9002, QInputDevice::DeviceType::Mouse,
                                        QPointingDevice::PointerType::Generic,
                                        QInputDevice::Capability::Position | QInputDevice::Capability::Scroll,
                                        1, 3);
    return &device;
}

struct Wheel {
    QPoint pixels;
    Qt::ScrollPhase phase = Qt::ScrollUpdate;
    const QPointingDevice *device = touchpad();
    QPoint angle;
    bool inverted = false;
    ulong time = 0;
    QPoint at{200, 150};
};

// Whether the stage swallowed the event.
bool send(QWidget &stage, const Wheel &wheel)
{
    QWheelEvent event(wheel.at, stage.mapToGlobal(wheel.at), wheel.pixels, wheel.angle, Qt::NoButton,
                      Qt::NoModifier, wheel.phase, wheel.inverted, Qt::MouseEventNotSynthesized,
                      wheel.device);
    event.setTimestamp(wheel.time);
    QApplication::sendEvent(&stage, &event);
    return event.isAccepted();
}

class SwipeCatcherTest : public ::testing::Test {
protected:
    SwipeCatcherTest() { stage.resize(400, 300); }

    // A whole gesture with phases; returns whether every update was swallowed.
    bool swipe(const QList<QPoint> &moves, bool inverted = false)
    {
        bool swallowed = true;
        send(stage, {{}, Qt::ScrollBegin, touchpad(), {}, inverted});
        for (const QPoint &move : moves)
            swallowed = send(stage, {move, Qt::ScrollUpdate, touchpad(), {}, inverted}) && swallowed;
        send(stage, {{}, Qt::ScrollEnd, touchpad(), {}, inverted});
        return swallowed;
    }

    QList<int> steps() const
    {
        QList<int> all;
        for (const QList<QVariant> &call : spy)
            all.append(call[0].toInt());
        return all;
    }

    QWidget stage;
    SwipeCatcher catcher{&stage};
    QSignalSpy spy{&catcher, &SwipeCatcher::swiped};
};

TEST_F(SwipeCatcherTest, SwipePagesOnceBeyond40PointsAndSwallowsItsEventsEitherWay)
{
    EXPECT_TRUE(swipe({{20, 0}, {10, 0}}));
    EXPECT_TRUE(steps().isEmpty());
    EXPECT_TRUE(swipe({{20, 2}, {21, 0}, {60, 0}}));
    EXPECT_EQ(steps(), QList<int>{+1});
    EXPECT_TRUE(swipe({{-41, 0}}));
    EXPECT_EQ(steps(), (QList<int>{+1, -1}));
}

TEST_F(SwipeCatcherTest, InvertedDirectionSwapsTheStep)
{
    EXPECT_TRUE(swipe({{-41, 0}}, true));
    EXPECT_TRUE(swipe({{41, 0}}, true));
    EXPECT_EQ(steps(), (QList<int>{+1, -1}));
}

TEST_F(SwipeCatcherTest, EqualOrVerticalTravelIsLeftToOthers)
{
    EXPECT_FALSE(swipe({{30, 30}, {15, 15}}));
    EXPECT_FALSE(swipe({{5, 60}}));
    EXPECT_TRUE(steps().isEmpty());
}

TEST_F(SwipeCatcherTest, MomentumTailIsSwallowedOnlyAfterAPagingSwipe)
{
    swipe({{50, 0}});
    EXPECT_TRUE(send(stage, {{30, 0}, Qt::ScrollMomentum}));
    swipe({{10, 0}});
    EXPECT_FALSE(send(stage, {{30, 0}, Qt::ScrollMomentum}));
    EXPECT_EQ(steps(), QList<int>{+1});
}

TEST_F(SwipeCatcherTest, WithoutPhasesAPauseEndsTheGesture)
{
    // This touchpad reports angles only: 82 units travel 41 points.
    const auto at = [](ulong time) {
        return Wheel{{}, Qt::NoScrollPhase, touchpad(), {-30, 0}, false, time};
    };
    EXPECT_TRUE(send(stage, at(1000)));
    EXPECT_TRUE(send(stage, at(1010)));
    EXPECT_TRUE(steps().isEmpty());
    EXPECT_TRUE(send(stage, at(1020)));
    EXPECT_TRUE(send(stage, at(1150)));
    EXPECT_EQ(steps(), QList<int>{-1});
    for (ulong time : {1400, 1410, 1420})
        send(stage, at(time));
    EXPECT_EQ(steps(), (QList<int>{-1, -1}));
}

TEST_F(SwipeCatcherTest, MouseWheelAndEventsOutsideTheStagePassOn)
{
    EXPECT_FALSE(send(stage, {{}, Qt::NoScrollPhase, mouse(), {-480, 0}}));
    EXPECT_FALSE(send(stage, {{-60, 0}, Qt::NoScrollPhase, touchpad(), {}, false, 5000, {450, 150}}));
    EXPECT_TRUE(steps().isEmpty());
}

class SwipeOnStageTest : public LibraryFixture {};

TEST_F(SwipeOnStageTest, SwipeOverTheStagePagesTheMedia)
{
    auto post = addPost(QStringLiteral("两张"));
    addCover(post, 100, 100);
    addCover(post, 100, 100);
    save();
    UndoableDelete pendingDelete;
    PostDetailView view(post, context, pendingDelete);
    view.resize(1000, 600);
    view.show();
    QWidget *stage = view.mediaPane()->stage();
    const QPoint middle = stage->rect().center();
    send(*stage, {{}, Qt::ScrollBegin, touchpad(), {}, false, 0, middle});
    EXPECT_TRUE(send(*stage, {{45, 0}, Qt::ScrollUpdate, touchpad(), {}, false, 0, middle}));
    EXPECT_EQ(view.mediaPane()->index(), 1);
}

} // namespace
