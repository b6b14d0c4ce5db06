#include "Symbol.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <functional>

namespace {

// Shapes in a 24 x 24 box: a path to stroke and a path to fill.
struct Shape {
    QPainterPath stroke;
    QPainterPath fill;
};

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    auto point = points.begin();
    path.moveTo(*point);
    while (++point != points.end())
        path.lineTo(*point);
    return path;
}

// A quaver: head and stem; the flag is added by the callers.
QPainterPath noteHead(qreal x, qreal y)
{
    return ellipse(x, y, 3, 2.4);
}

Shape trash()
{
    QPainterPath stroke = polyline({{4, 6.5}, {20, 6.5}});
    stroke.addPath(polyline({{9.5, 6.5}, {9.5, 4}, {14.5, 4}, {14.5, 6.5}}));
    stroke.addPath(polyline({{6, 6.5}, {7, 20}, {17, 20}, {18, 6.5}}));
    stroke.addPath(polyline({{10, 10}, {10, 16.5}}));
    stroke.addPath(polyline({{14, 10}, {14, 16.5}}));
    return {stroke, {}};
}

Shape xmark()
{
    QPainterPath stroke = polyline({{6, 6}, {18, 18}});
    stroke.addPath(polyline({{18, 6}, {6, 18}}));
    return {stroke, {}};
}

Shape bookClosed()
{
    QPainterPath fill = roundedRect(5, 3, 14, 18, 2);
    fill = fill.subtracted(roundedRect(8, 6, 2, 12, 1));
    return {{}, fill};
}

Shape musicNote()
{
    QPainterPath stroke = polyline({{11.5, 17}, {11.5, 4}, {18, 6.5}, {18, 9}, {11.5, 6.5}});
    return {stroke, noteHead(8.5, 17)};
}

Shape musicNoteList()
{
    QPainterPath stroke = polyline({{3, 6}, {11, 6}});
    stroke.addPath(polyline({{3, 10}, {11, 10}}));
    stroke.addPath(polyline({{3, 14}, {8, 14}}));
    stroke.addPath(polyline({{17, 18}, {17, 4}, {21, 5.5}}));
    return {stroke, noteHead(14, 18)};
}

Shape eye()
{
    QPainterPath fill;
    fill.moveTo(2, 12);
    fill.quadTo(12, 1, 22, 12);
    fill.quadTo(12, 23, 2, 12);
    fill = fill.subtracted(ellipse(12, 12, 4.2, 4.2));
    fill.addPath(ellipse(12, 12, 2.2, 2.2));
    return {{}, fill};
}

Shape tv()
{
    QPainterPath fill = roundedRect(2.5, 5, 19, 13, 2.5);
    fill = fill.subtracted(roundedRect(5, 7.5, 14, 8, 1));
    QPainterPath stroke = polyline({{8, 21}, {16, 21}});
    stroke.addPath(polyline({{9, 2.5}, {12, 5}, {15, 2.5}}));
    return {stroke, fill};
}

Shape message()
{
    QPainterPath fill = ellipse(12, 11, 9.5, 7.5);
    fill.addPath(polyline({{5, 15}, {4, 21}, {10, 17.5}}));
    fill.setFillRule(Qt::WindingFill);
    return {{}, fill};
}

Shape camera()
{
    QPainterPath fill = roundedRect(2.5, 6.5, 19, 13.5, 2.5);
    fill.addPath(roundedRect(8, 4, 8, 4, 1));
    fill.setFillRule(Qt::WindingFill);
    fill = fill.subtracted(ellipse(12, 13, 4.2, 4.2));
    fill.addPath(ellipse(12, 13, 2.4, 2.4));
    return {{}, fill};
}

Shape at()
{
    QPainterPath stroke = ellipse(12, 12, 3.8, 3.8);
    stroke.moveTo(15.8, 8.5);
    stroke.lineTo(15.8, 13.5);
    stroke.cubicTo(15.8, 17, 21, 17, 21, 12);
    stroke.cubicTo(21, 6.5, 17, 3, 12, 3);
    stroke.cubicTo(6.5, 3, 3, 7, 3, 12);
    stroke.cubicTo(3, 17.5, 7, 21, 12, 21);
    stroke.lineTo(16, 20.2);
    return {stroke, {}};
}

Shape pin()
{
    QPainterPath fill = ellipse(12, 8, 5.5, 5.5);
    QPainterPath stroke = polyline({{12, 13}, {12, 22}});
    return {stroke, fill};
}

Shape globe()
{
    QPainterPath stroke = ellipse(12, 12, 9, 9);
    stroke.addPath(ellipse(12, 12, 4, 9));
    stroke.addPath(polyline({{3, 12}, {21, 12}}));
    stroke.addPath(polyline({{12, 3}, {12, 21}}));
    return {stroke, {}};
}

Shape squareAndPencil()
{
    QPainterPath stroke = polyline({{11, 4}, {6, 4}, {4, 6}, {4, 18}, {6, 20}, {18, 20}, {20, 18}, {20, 13}});
    stroke.addPath(polyline({{10, 14}, {10.5, 11}, {18.5, 3}, {21, 5.5}, {13, 13.5}, {10, 14}}));
    return {stroke, {}};
}

Shape pencil()
{
    QPainterPath stroke = polyline({{4, 20}, {5, 15.5}, {16, 4.5}, {19.5, 8}, {8.5, 19}, {4, 20}});
    stroke.addPath(polyline({{13.5, 7}, {17, 10.5}}));
    return {stroke, {}};
}

Shape chevronLeft()
{
    return {polyline({{15, 4}, {7, 12}, {15, 20}}), {}};
}

Shape linkBadgePlus()
{
    QPainterPath stroke = roundedRect(2, 5, 10, 6.5, 3.25);
    stroke.addPath(roundedRect(8, 5, 10, 6.5, 3.25));
    stroke.addPath(polyline({{18, 14}, {18, 22}}));
    stroke.addPath(polyline({{14, 18}, {22, 18}}));
    return {stroke, {}};
}

Shape lockFill()
{
    QPainterPath fill = roundedRect(4.5, 10.5, 15, 11, 2.5);
    QPainterPath stroke;
    stroke.moveTo(8, 10.5);
    stroke.lineTo(8, 7.5);
    stroke.cubicTo(8, 2, 16, 2, 16, 7.5);
    stroke.lineTo(16, 10.5);
    return {stroke, fill};
}

QPainterPath checkmark()
{
    return polyline({{7.5, 12.5}, {10.8, 15.8}, {16.5, 9}});
}

Shape checkmarkCircle()
{
    QPainterPath stroke = ellipse(12, 12, 9, 9);
    stroke.addPath(checkmark());
    return {stroke, {}};
}

Shape checkmarkCircleFill()
{
    QPainterPath fill = ellipse(12, 12, 10, 10);
    QPainterPathStroker tick;
    tick.setWidth(2.4);
    tick.setCapStyle(Qt::RoundCap);
    tick.setJoinStyle(Qt::RoundJoin);
    return {{}, fill.subtracted(tick.createStroke(checkmark()))};
}

// The application's own glyph: a basket with a handle.
Shape basket()
{
    QPainterPath stroke = polyline({{3, 10}, {21, 10}});
    stroke.addPath(polyline({{4.5, 10}, {6.5, 20}, {17.5, 20}, {19.5, 10}}));
    stroke.addPath(polyline({{8, 10}, {11, 4}}));
    stroke.addPath(polyline({{16, 10}, {13, 4}}));
    stroke.addPath(polyline({{9.5, 13.5}, {10, 17}}));
    stroke.addPath(polyline({{14.5, 13.5}, {14, 17}}));
    return {stroke, {}};
}

Shape photo()
{
    QPainterPath stroke = roundedRect(3, 5, 18, 14, 2.5);
    stroke.addPath(polyline({{3.5, 17}, {9, 11.5}, {13, 15.5}, {15.5, 13}, {20.5, 17.5}}));
    return {stroke, ellipse(15.5, 9, 1.6, 1.6)};
}

Shape playFill()
{
    QPainterPath fill = polyline({{7, 4.5}, {19.5, 12}, {7, 19.5}});
    fill.closeSubpath();
    return {{}, fill};
}

// Two corner arrows on one diagonal, pointing out of the box or into it.
Shape cornerArrows(bool outward)
{
    const qreal near = outward ? 4 : 10;
    const qreal arm = outward ? 5 : -5;
    QPainterPath stroke = polyline({{near, near + arm}, {near, near}, {near + arm, near}});
    const qreal far = 24 - near;
    stroke.addPath(polyline({{far, far - arm}, {far, far}, {far - arm, far}}));
    stroke.addPath(polyline({{4, 4}, {10, 10}}));
    stroke.addPath(polyline({{20, 20}, {14, 14}}));
    return {stroke, {}};
}

Shape pauseFill()
{
    QPainterPath fill = roundedRect(6, 4.5, 4, 15, 1);
    fill.addPath(roundedRect(14, 4.5, 4, 15, 1));
    return {{}, fill};
}

// A loudspeaker; the waves or the slash are added by the callers.
QPainterPath speakerBody()
{
    QPainterPath fill = polyline({{3, 9}, {7, 9}, {12, 4.5}, {12, 19.5}, {7, 15}, {3, 15}});
    fill.closeSubpath();
    return fill;
}

Shape speakerWaves()
{
    QPainterPath stroke;
    stroke.arcMoveTo(QRectF(10, 8, 6, 8), -50);
    stroke.arcTo(QRectF(10, 8, 6, 8), -50, 100);
    stroke.arcMoveTo(QRectF(9, 4.5, 11, 15), -55);
    stroke.arcTo(QRectF(9, 4.5, 11, 15), -55, 110);
    return {stroke, speakerBody()};
}

Shape speakerSlash()
{
    QPainterPath stroke = polyline({{15, 9}, {21, 15}});
    stroke.addPath(polyline({{21, 9}, {15, 15}}));
    return {stroke, speakerBody()};
}

Shape livePhoto()
{
    QPainterPath stroke = ellipse(12, 12, 9, 9);
    stroke.addPath(ellipse(12, 12, 5.5, 5.5));
    return {stroke, ellipse(12, 12, 2.2, 2.2)};
}

Shape warningFill()
{
    QPainterPath fill = polyline({{12, 2.5}, {22.5, 20.5}, {1.5, 20.5}});
    fill.closeSubpath();
    fill = fill.subtracted(roundedRect(11, 8, 2, 7, 1));
    return {{}, fill.subtracted(ellipse(12, 17.5, 1.2, 1.2))};
}

Shape noteText()
{
    QPainterPath stroke = roundedRect(4.5, 3, 15, 18, 2.5);
    for (qreal y : {8.0, 12.0, 16.0})
        stroke.addPath(polyline({{8, y}, {16, y}}));
    return {stroke, {}};
}

QPainterPath starPath()
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 ? 4.2 : 9.5;
        const qreal angle = M_PI / 5 * i - M_PI / 2;
        const QPointF point(12 + radius * std::cos(angle), 12.8 + radius * std::sin(angle));
        i ? path.lineTo(point) : path.moveTo(point);
    }
    path.closeSubpath();
    return path;
}

Shape star()
{
    return {starPath(), {}};
}

Shape starFill()
{
    return {{}, starPath()};
}

Shape starSlash()
{
    QPainterPath stroke = starPath();
    stroke.addPath(polyline({{3, 3}, {21, 21}}));
    return {stroke, {}};
}

Shape tray()
{
    QPainterPath stroke = polyline({{3, 13}, {6, 4.5}, {18, 4.5}, {21, 13}, {21, 19.5}, {3, 19.5}, {3, 13}});
    stroke.addPath(polyline({{3, 13}, {8.5, 13}, {9.5, 15.5}, {14.5, 15.5}, {15.5, 13}, {21, 13}}));
    return {stroke, {}};
}

Shape magnifyingGlass()
{
    QPainterPath stroke = ellipse(10, 10, 6.5, 6.5);
    stroke.addPath(polyline({{15, 15}, {21, 21}}));
    return {stroke, {}};
}

Shape plus()
{
    QPainterPath stroke = polyline({{12, 4}, {12, 20}});
    stroke.addPath(polyline({{4, 12}, {20, 12}}));
    return {stroke, {}};
}

Shape number()
{
    QPainterPath stroke = polyline({{10, 4}, {8, 20}});
    stroke.addPath(polyline({{16, 4}, {14, 20}}));
    stroke.addPath(polyline({{4.5, 9}, {19.5, 9}}));
    stroke.addPath(polyline({{4, 15}, {19, 15}}));
    return {stroke, {}};
}

Shape mergeArrows()
{
    QPainterPath stroke = polyline({{6, 21}, {6, 14}, {12, 8}, {12, 3}});
    stroke.addPath(polyline({{18, 21}, {18, 14}, {12, 8}}));
    stroke.addPath(polyline({{8.5, 5.5}, {12, 2.5}, {15.5, 5.5}}));
    return {stroke, {}};
}

Shape person()
{
    QPainterPath stroke = ellipse(12, 8, 4, 4);
    stroke.moveTo(4, 21);
    stroke.cubicTo(4, 13, 20, 13, 20, 21);
    return {stroke, {}};
}

Shape personBadgeMinus()
{
    QPainterPath stroke = ellipse(10, 8, 4, 4);
    stroke.moveTo(2, 21);
    stroke.cubicTo(2, 13, 18, 13, 18, 21);
    stroke.addPath(polyline({{16, 10}, {22, 10}}));
    return {stroke, {}};
}

Shape personBadgePlus()
{
    Shape shape = personBadgeMinus();
    shape.stroke.addPath(polyline({{19, 7}, {19, 13}}));
    return shape;
}

// Two people, the one behind peeking out on the right.
Shape personTwo()
{
    QPainterPath stroke = ellipse(9, 8, 3.5, 3.5);
    stroke.moveTo(2, 20);
    stroke.cubicTo(2, 13, 16, 13, 16, 20);
    stroke.addPath(ellipse(16, 7, 3, 3));
    stroke.moveTo(17.5, 13);
    stroke.cubicTo(20.5, 13.5, 22, 16, 22, 19);
    return {stroke, {}};
}

// Three ever shorter lines in a circle: a filter.
Shape filterCircle()
{
    QPainterPath stroke = ellipse(12, 12, 9.5, 9.5);
    stroke.addPath(polyline({{7, 9}, {17, 9}}));
    stroke.addPath(polyline({{8.5, 12.5}, {15.5, 12.5}}));
    stroke.addPath(polyline({{10.5, 16}, {13.5, 16}}));
    return {stroke, {}};
}

Shape ellipsisCircle()
{
    QPainterPath fill = ellipse(7.5, 12, 1.5, 1.5);
    fill.addPath(ellipse(12, 12, 1.5, 1.5));
    fill.addPath(ellipse(16.5, 12, 1.5, 1.5));
    return {ellipse(12, 12, 9.5, 9.5), fill};
}

Shape threeLines()
{
    QPainterPath stroke = polyline({{4, 7}, {20, 7}});
    stroke.addPath(polyline({{4, 12}, {20, 12}}));
    stroke.addPath(polyline({{4, 17}, {20, 17}}));
    return {stroke, {}};
}

Shape gridTwoByTwo()
{
    QPainterPath stroke = roundedRect(4, 4, 7, 7, 1.5);
    stroke.addPath(roundedRect(13, 4, 7, 7, 1.5));
    stroke.addPath(roundedRect(4, 13, 7, 7, 1.5));
    stroke.addPath(roundedRect(13, 13, 7, 7, 1.5));
    return {stroke, {}};
}

Shape tag()
{
    QPainterPath stroke =
        polyline({{3.5, 4.5}, {3.5, 11}, {13, 20.5}, {20.5, 13}, {11, 3.5}, {4.5, 3.5}, {3.5, 4.5}});
    return {stroke, ellipse(8, 8, 1.6, 1.6)};
}

Shape archiveBox()
{
    QPainterPath stroke = roundedRect(3, 4, 18, 5, 1);
    stroke.addPath(polyline({{4.5, 9}, {4.5, 20}, {19.5, 20}, {19.5, 9}}));
    stroke.addPath(polyline({{10, 13}, {14, 13}}));
    return {stroke, {}};
}

// A padlock, its shackle closed or swung open.
Shape padlock(bool open)
{
    QPainterPath stroke = roundedRect(4.5, 10.5, 15, 11, 2.5);
    const qreal right = open ? 24 : 16;
    const qreal left = open ? 16 : 8;
    stroke.moveTo(left, 10.5);
    stroke.lineTo(left, 7.5);
    stroke.cubicTo(left, 2, right, 2, right, 7.5);
    if (!open)
        stroke.lineTo(right, 10.5);
    return {stroke, {}};
}

Shape rectangleStack()
{
    QPainterPath stroke = roundedRect(3.5, 9, 17, 11.5, 2);
    stroke.addPath(polyline({{5.5, 6}, {18.5, 6}}));
    stroke.addPath(polyline({{7.5, 3}, {16.5, 3}}));
    return {stroke, {}};
}

QPainterPath cloud()
{
    QPainterPath outline;
    outline.moveTo(7, 18.5);
    outline.cubicTo(2.5, 18.5, 2.5, 11.5, 7.5, 11.5);
    outline.cubicTo(8, 5, 17, 5, 17.5, 10.5);
    outline.cubicTo(22, 10.5, 22, 18.5, 17, 18.5);
    outline.closeSubpath();
    return outline;
}

Shape icloudSlash()
{
    QPainterPath stroke = cloud();
    stroke.addPath(polyline({{4, 4}, {20, 21}}));
    return {stroke, {}};
}

Shape exclamationCloud()
{
    QPainterPath stroke = cloud();
    stroke.addPath(polyline({{12, 9.5}, {12, 13.5}}));
    return {stroke, ellipse(12, 16, 1, 1)};
}

Shape checkmarkCloud()
{
    QPainterPath stroke = cloud();
    stroke.addPath(polyline({{9, 14}, {11, 16}, {15, 11.5}}));
    return {stroke, {}};
}

Shape icloud()
{
    return {cloud(), {}};
}

// A wheel with eight square teeth round a hole.
Shape gearshape()
{
    QPainterPath fill = ellipse(12, 12, 7, 7);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth = roundedRect(10.2, 1.8, 3.6, 5, 0.8);
        fill.addPath(QTransform().translate(12, 12).rotate(45 * i).translate(-12, -12).map(tooth));
    }
    fill.setFillRule(Qt::WindingFill);
    return {{}, fill.simplified().subtracted(ellipse(12, 12, 3, 3))};
}

// A jigsaw piece with its knobs on the top and the right.
Shape puzzlePiece()
{
    QPainterPath fill = roundedRect(3, 7, 14, 14, 2);
    fill.addPath(ellipse(10, 6, 2.6, 2.6));
    fill.addPath(ellipse(18, 14, 2.6, 2.6));
    fill.setFillRule(Qt::WindingFill);
    return {{}, fill.simplified()};
}

Shape paperplane()
{
    QPainterPath stroke = polyline({{21, 3}, {3, 10.5}, {10, 13.5}, {13.5, 21}, {21, 3}});
    stroke.addPath(polyline({{10, 13.5}, {21, 3}}));
    return {stroke, {}};
}

Shape arrowClockwise()
{
    QPainterPath stroke;
    stroke.arcMoveTo(QRectF(5, 5, 14, 14), 60);
    stroke.arcTo(QRectF(5, 5, 14, 14), 60, 300);
    stroke.addPath(polyline({{14, 3.5}, {15.5, 6.6}, {12.3, 8}}));
    return {stroke, {}};
}

// The detail screen's toolbar: save into a tray, and the archived box.
Shape squareAndArrowDown()
{
    QPainterPath stroke = polyline({{8.5, 9}, {5, 9}, {5, 21}, {19, 21}, {19, 9}, {15.5, 9}});
    stroke.addPath(polyline({{12, 2.5}, {12, 15}}));
    stroke.addPath(polyline({{8, 11}, {12, 15}, {16, 11}}));
    return {stroke, {}};
}

Shape archiveBoxFill()
{
    QPainterPath fill = roundedRect(2.1, 3.1, 19.8, 6.8, 1.5);
    fill.addPath(roundedRect(3.6, 10.9, 16.8, 10, 1.5).subtracted(roundedRect(9.1, 12.6, 5.8, 1.8, 0.9)));
    return {{}, fill};
}

// A compass: its needle runs corner to corner, the half pointing north-east filled.
Shape safari()
{
    QPainterPath needle = polyline({{16.5, 7.5}, {13.6, 13.6}, {7.5, 16.5}, {10.4, 10.4}});
    needle.closeSubpath();
    QPainterPath north = polyline({{16.5, 7.5}, {13.6, 13.6}, {10.4, 10.4}});
    north.closeSubpath();
    QPainterPath stroke = ellipse(12, 12, 9.5, 9.5);
    stroke.addPath(needle);
    return {stroke, north};
}

const QHash<QString, std::function<Shape()>> &shapes()
{
    static const QHash<QString, std::function<Shape()>> table{
        {QStringLiteral("trash"), trash},
        {QStringLiteral("xmark"), xmark},
        {QStringLiteral("book.closed.fill"), bookClosed},
        {QStringLiteral("music.note"), musicNote},
        {QStringLiteral("music.note.list"), musicNoteList},
        {QStringLiteral("eye.fill"), eye},
        {QStringLiteral("tv.fill"), tv},
        {QStringLiteral("message.fill"), message},
        {QStringLiteral("camera.fill"), camera},
        {QStringLiteral("at"), at},
        {QStringLiteral("pin.fill"), pin},
        {QStringLiteral("globe"), globe},
        {QStringLiteral("square.and.pencil"), squareAndPencil},
        {QStringLiteral("pencil"), pencil},
        {QStringLiteral("chevron.left"), chevronLeft},
        {QStringLiteral("link.badge.plus"), linkBadgePlus},
        {QStringLiteral("lock.fill"), lockFill},
        {QStringLiteral("checkmark.circle"), checkmarkCircle},
        {QStringLiteral("checkmark.circle.fill"), checkmarkCircleFill},
        {QStringLiteral("basket"), basket},
        {QStringLiteral("photo"), photo},
        {QStringLiteral("play.fill"), playFill},
        {QStringLiteral("livephoto"), livePhoto},
        {QStringLiteral("pause.fill"), pauseFill},
        {QStringLiteral("arrow.up.left.and.arrow.down.right"), [] { return cornerArrows(true); }},
        {QStringLiteral("arrow.down.right.and.arrow.up.left"), [] { return cornerArrows(false); }},
        {QStringLiteral("speaker.wave.2.fill"), speakerWaves},
        {QStringLiteral("speaker.slash.fill"), speakerSlash},
        {QStringLiteral("exclamationmark.triangle.fill"), warningFill},
        {QStringLiteral("note.text"), noteText},
        {QStringLiteral("star"), star},
        {QStringLiteral("star.fill"), starFill},
        {QStringLiteral("star.slash"), starSlash},
        {QStringLiteral("tray"), tray},
        {QStringLiteral("magnifyingglass"), magnifyingGlass},
        {QStringLiteral("plus"), plus},
        {QStringLiteral("number"), number},
        {QStringLiteral("circle.fill"),
         [] {
             return Shape{{}, ellipse(12, 12, 10, 10)};
         }},
        {QStringLiteral("arrow.triangle.merge"), mergeArrows},
        {QStringLiteral("person"), person},
        {QStringLiteral("person.badge.minus"), personBadgeMinus},
        {QStringLiteral("person.badge.plus"), personBadgePlus},
        {QStringLiteral("person.2"), personTwo},
        {QStringLiteral("line.3.horizontal.decrease.circle"), filterCircle},
        {QStringLiteral("ellipsis.circle"), ellipsisCircle},
        {QStringLiteral("line.3.horizontal"), threeLines},
        {QStringLiteral("square.grid.2x2"), gridTwoByTwo},
        {QStringLiteral("tag"), tag},
        {QStringLiteral("archivebox"), archiveBox},
        {QStringLiteral("lock"), [] { return padlock(false); }},
        {QStringLiteral("lock.open"), [] { return padlock(true); }},
        {QStringLiteral("rectangle.stack"), rectangleStack},
        {QStringLiteral("icloud.slash"), icloudSlash},
        {QStringLiteral("exclamationmark.icloud"), exclamationCloud},
        {QStringLiteral("checkmark.icloud"), checkmarkCloud},
        {QStringLiteral("arrow.clockwise"), arrowClockwise},
        {QStringLiteral("icloud"), icloud},
        {QStringLiteral("gearshape"), gearshape},
        {QStringLiteral("puzzlepiece.extension"), puzzlePiece},
        {QStringLiteral("paperplane"), paperplane},
        {QStringLiteral("square.and.arrow.down"), squareAndArrowDown},
        {QStringLiteral("archivebox.fill"), archiveBoxFill},
        {QStringLiteral("safari"), safari},
    };
    return table;
}

} // namespace

bool Symbol::exists(const QString &name)
{
    return shapes().contains(name);
}

void Symbol::paint(QPainter &painter, const QString &name, const QRectF &rect, const QColor &color,
                   qreal weight)
{
    const auto found = shapes().constFind(name);
    if (found == shapes().cend())
        return;
    const Shape shape = (*found)();
    const qreal side = std::min(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center() - QPointF(side / 2, side / 2));
    painter.scale(side / 24, side / 24);
    painter.setPen(QPen(color, 1.8 * weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape.stroke);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(shape.fill);
    painter.restore();
}

QPixmap Symbol::pixmap(const QString &name, int size, const QColor &color, qreal weight,
                       qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, name, QRectF(0, 0, size, size), color, weight);
    return pixmap;
}

QPixmap Symbol::tile(const QString &name, int size, const QColor &background, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.22, size * 0.22);
    const qreal inset = size * 0.18;
    paint(painter, name, QRectF(inset, inset, size - 2 * inset, size - 2 * inset), color, 1.3);
    return pixmap;
}
