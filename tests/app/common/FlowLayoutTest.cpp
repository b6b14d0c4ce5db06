#include "FlowLayout.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Fixed-size boxes in a flow with spacing 6 and no margins.
struct Flow {
    explicit Flow(const QList<QSize> &sizes)
    {
        layout->setContentsMargins(0, 0, 0, 0);
        for (const QSize &size : sizes) {
            boxes.append(new QWidget(&host));
            boxes.last()->setFixedSize(size);
            layout->addWidget(boxes.last());
        }
    }

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

TEST(FlowLayoutTest, WrapsBeforeTheEdgeKeepsAnExactFitAndGivesAWideItemItsOwnRow)
{
    Flow flow({{50, 20}, {50, 30}, {50, 24}});
    EXPECT_EQ(flow.placedIn(112), (QList<QPoint>{{0, 0}, {56, 0}, {0, 36}}));
    EXPECT_EQ(flow.layout->sizeForWidth(112), QSize(106, 30 + 6 + 24));
    EXPECT_EQ(flow.placedIn(106), (QList<QPoint>{{0, 0}, {56, 0}, {0, 36}}));
    EXPECT_EQ(flow.placedIn(105), (QList<QPoint>{{0, 0}, {0, 26}, {0, 62}}));

    Flow wide({{50, 20}, {200, 20}, {50, 20}});
    EXPECT_EQ(wide.placedIn(112), (QList<QPoint>{{0, 0}, {0, 26}, {0, 52}}));
    EXPECT_EQ(wide.layout->sizeForWidth(112), QSize(200, 72));
    // Wrapping never forces the host up to the widest item.
    EXPECT_EQ(wide.layout->minimumSize(), QSize(0, 0));
}

TEST(FlowLayoutTest, WithoutAWidthEverythingIsOneRowAndAnEmptyFlowNeedsNoRoom)
{
    Flow flow({{50, 20}, {40, 30}, {30, 24}});
    EXPECT_EQ(flow.layout->sizeHint(), QSize(50 + 6 + 40 + 6 + 30, 30));
    Flow empty({});
    EXPECT_EQ(empty.layout->sizeHint(), QSize(0, 0));
    EXPECT_EQ(empty.layout->sizeForWidth(300), QSize(0, 0));
}

} // namespace
