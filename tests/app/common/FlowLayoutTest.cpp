#include "FlowLayout.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A host widget whose flow has no margins, filled with fixed-size boxes.
class Flow {
public:
    explicit Flow(const QList<QSize> &sizes)
    {
        layout->setContentsMargins(0, 0, 0, 0);
        for (const QSize &size : sizes) {
            auto *box = new QWidget(&host);
            box->setFixedSize(size);
            layout->addWidget(box);
            boxes.append(box);
        }
    }

    // Where each box lands when the flow is given that width.
    QList<QPoint> placedIn(int width)
    {
        layout->setGeometry(QRect(0, 0, width, layout->heightForWidth(width)));
        QList<QPoint> points;
        for (const QWidget *box : std::as_const(boxes))
            points.append(box->pos());
        return points;
    }

    QWidget host;
    FlowLayout *layout = new FlowLayout(6, &host);
    QList<QWidget *> boxes;
};

TEST(FlowLayoutTest, WrapsWhenTheNextItemWouldCrossTheEdgeAndKeepsAnExactFit)
{
    Flow flow({{50, 20}, {50, 30}, {50, 24}});
    EXPECT_EQ(flow.placedIn(112), (QList<QPoint>{{0, 0}, {56, 0}, {0, 36}}));
    // The tallest item sets the row's height; the gap is taken between rows too.
    EXPECT_EQ(flow.layout->sizeForWidth(112), QSize(106, 30 + 6 + 24));
    EXPECT_EQ(flow.layout->heightForWidth(112), 60);

    // 50 + 6 + 50 fills 106 exactly: the second item stays on the first row.
    EXPECT_EQ(flow.placedIn(106), (QList<QPoint>{{0, 0}, {56, 0}, {0, 36}}));
    EXPECT_EQ(flow.placedIn(105), (QList<QPoint>{{0, 0}, {0, 26}, {0, 62}}));

    // Margins are kept around the rows.
    flow.layout->setContentsMargins(10, 5, 10, 5);
    EXPECT_EQ(flow.layout->sizeForWidth(132), QSize(126, 70));
    EXPECT_EQ(flow.placedIn(132), (QList<QPoint>{{10, 5}, {66, 5}, {10, 41}}));
}

TEST(FlowLayoutTest, WithoutAWidthEverythingIsOneRowAndHiddenItemsTakeNoPlace)
{
    Flow flow({{50, 20}, {40, 30}, {30, 24}});
    EXPECT_EQ(flow.layout->sizeHint(), QSize(50 + 6 + 40 + 6 + 30, 30));

    flow.boxes[1]->hide();
    flow.layout->invalidate();
    EXPECT_EQ(flow.layout->sizeHint(), QSize(50 + 6 + 30, 24));
    EXPECT_EQ(flow.placedIn(200)[2], QPoint(56, 0));
}

TEST(FlowLayoutTest, AnItemWiderThanTheLineGetsItsOwnRowAndOverflows)
{
    Flow alone({{200, 20}});
    EXPECT_EQ(alone.placedIn(112), (QList<QPoint>{{0, 0}}));
    EXPECT_EQ(alone.layout->sizeForWidth(112), QSize(200, 20));
    // Wrapping never forces the width up to the widest item.
    EXPECT_EQ(alone.layout->minimumSize(), QSize(0, 0));

    Flow between({{50, 20}, {200, 20}, {50, 20}});
    EXPECT_EQ(between.placedIn(112), (QList<QPoint>{{0, 0}, {0, 26}, {0, 52}}));
    EXPECT_EQ(between.layout->sizeForWidth(112), QSize(200, 72));
}

TEST(FlowLayoutTest, EmptyFlowNeedsNoRoom)
{
    Flow flow({});
    EXPECT_EQ(flow.layout->sizeHint(), QSize(0, 0));
    EXPECT_EQ(flow.layout->sizeForWidth(300), QSize(0, 0));
    EXPECT_EQ(flow.layout->heightForWidth(300), 0);
    flow.layout->setGeometry(QRect(0, 0, 300, 0));
}

} // namespace
