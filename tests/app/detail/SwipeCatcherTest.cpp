#include "SwipeCatcher.h"

#include <QApplication>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Made on first use, once the application exists.
const QPointingDevice *device(QInputDevice::DeviceType type)
{
    const auto capabilities = QInputDevice::Capability::Position | QInputDevice::Capability::Scroll;
    static const QPointingDevice touchpad(QStringLiteral("test touchpad"), 9001,
                                          QInputDevice::DeviceType::TouchPad,
                                          QPointingDevice::PointerType::Finger, capabilities, 2, 0);
    static const QPointingDevice mouse(QStringLiteral("test mouse"), 9002, QInputDevice::DeviceType::Mouse,
                                       QPointingDevice::PointerType::Generic, capabilities, 1, 3);
    return type == QInputDevice::DeviceType::Mouse ? &mouse : &touchpad;
}

struct Wheel {
    QPoint pixels;
    Qt::ScrollPhase phase = Qt::ScrollUpdate;
    bool inverted = false;
    QPoint angle;
    ulong time = 0;
    QInputDevice::DeviceType type = QInputDevice::DeviceType::TouchPad;
    QPoint at{200, 150};
};

// Whether the stage swallowed the event.
bool send(QWidget &stage, const Wheel &wheel)
{
    QWheelEvent event(wheel.at, stage.mapToGlobal(wheel.at), wheel.pixels, wheel.angle, Qt::NoButton,
                      Qt::NoModifier, wheel.phase, wheel.inverted, Qt::MouseEventNotSynthesized,
                      device(wheel.type));
    event.setTimestamp(wheel.time);
    QApplication::sendEvent(&stage, &event);
    return event.isAccepted();
}

class SwipeCatcherTest : public ::testing::Test {
protected:
    SwipeCatcherTest() { stage.resize(400, 300); }

    // A whole gesture with phases; returns whether every move was swallowed.
    bool swipe(const QList<QPoint> &moves, bool inverted = false)
    {
        bool swallowed = true;
        send(stage, {{}, Qt::ScrollBegin, inverted});
        for (const QPoint &move : moves)
            swallowed = send(stage, {move, Qt::ScrollUpdate, inverted}) && swallowed;
        send(stage, {{}, Qt::ScrollEnd, inverted});
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

TEST_F(SwipeCatcherTest, HorizontalSwipePagesOnceBeyond40PointsAndIsSwallowed)
{
    EXPECT_TRUE(swipe({{20, 0}, {10, 0}}));
    EXPECT_TRUE(swipe({{20, 2}, {21, 0}, {60, 0}}));
    EXPECT_TRUE(swipe({{-41, 0}}, true));
    EXPECT_EQ(steps(), (QList<int>{+1, +1}));
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
    const auto at = [](ulong time) { return Wheel{{}, Qt::NoScrollPhase, false, {-30, 0}, time}; };
    for (ulong time : {1000, 1010})
        EXPECT_TRUE(send(stage, at(time)));
    EXPECT_TRUE(steps().isEmpty());
    for (ulong time : {1020, 1150, 1400, 1410})
        send(stage, at(time));
    EXPECT_EQ(steps(), QList<int>{-1});
    send(stage, at(1420));
    EXPECT_EQ(steps(), (QList<int>{-1, -1}));
}

TEST_F(SwipeCatcherTest, DiagonalAndVerticalTravelMouseWheelsAndOutsideEventsPassOn)
{
    EXPECT_FALSE(swipe({{30, 30}, {15, 15}}));
    EXPECT_FALSE(send(stage, {{}, Qt::NoScrollPhase, false, {-480, 0}, 0, QInputDevice::DeviceType::Mouse}));
    EXPECT_FALSE(
        send(stage,
             {{-60, 0}, Qt::NoScrollPhase, false, {}, 5000, QInputDevice::DeviceType::TouchPad, {450, 150}}));
    EXPECT_TRUE(steps().isEmpty());
}

} // namespace
