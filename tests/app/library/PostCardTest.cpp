#include "PostCard.h"

#include "FocusTilt.h"
#include "LibraryFixture.h"
#include "Masonry.h"
#include "Screenshot.h"
#include "Theme.h"

#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <tuple>

namespace {

using PostCardTest = LibraryFixture;

// A page that keeps the texts painted on it, in painting order, and draws
// nothing else: what a person reads on a painted view.
class PaintedTexts : public QPaintDevice {
public:
    explicit PaintedTexts(QSize size) : m_size(size) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    QString texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return int(m_size.width() * 25.4 / screen->logicalDotsPerInchX());
        case PdmHeightMM: return int(m_size.height() * 25.4 / screen->logicalDotsPerInchY());
        case PdmDpiX:
        case PdmPhysicalDpiX: return int(screen->logicalDotsPerInchX());
        case PdmDpiY:
        case PdmPhysicalDpiY: return int(screen->logicalDotsPerInchY());
        case PdmDepth: return 32;
        case PdmNumColors: return 0;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawTextItem(const QPointF &, const QTextItem &item) override { texts += item.text(); }
        QString texts;
    };
    QSize m_size;
    mutable Engine m_engine;
};

TEST_F(PostCardTest, CoverRatioIsClampedAndSquareWithoutUsableSize)
{
    auto post = addPost(QStringLiteral("a"));
    EXPECT_EQ(PostCard::coverRatio(*post), 1.0) << "no cover";
    auto cover = addCover(post, 0, 300);
    for (const auto &[width, height, ratio] :
         {std::tuple{0.0, 300.0, 1.0}, {100.0, 300.0, 1.6}, {100.0, 10.0, 0.6}}) {
        cover->setWidth(width);
        cover->setHeight(height);
        EXPECT_EQ(PostCard::coverRatio(*post), ratio) << width << " x " << height;
    }
}

TEST_F(PostCardTest, BadgesShowOnlyWhatIsWorthShowing)
{
    auto single = addPost(QStringLiteral("one image"));
    addCover(single, 10, 10);
    EXPECT_FALSE(PostCard::badges(*single).visible);

    auto mixed = addPost(QStringLiteral("video and audio"));
    addCover(mixed, 10, 10, Qt::red, MediaKind::video);
    addCover(mixed, 10, 10, Qt::red, MediaKind::audio);
    EXPECT_EQ(PostCard::badges(*mixed).kindSymbol, QStringLiteral("music.note"));

    auto failed = addPost(QStringLiteral("failed"));
    failed->setParseState(ParseState::failed);
    addCover(failed, 10, 10);
    EXPECT_TRUE(PostCard::badges(*failed).failed);
}

TEST_F(PostCardTest, TheTextOfACardWithoutCoverKeepsClearOfAFailedBadge)
{
    auto failed = addPost(QStringLiteral("failed"));
    failed->setParseState(ParseState::failed);
    failed->setParseError(QStringLiteral("页面结构变了"));
    failed->setContent(QString(120, QChar(u'长')));
    const CardMetrics metrics = CardMetrics::measure(QFont());
    const PostCard card(metrics);
    const QRectF frame(0, 0, 200, PostCard::height(*failed, 200, metrics));
    QImage canvas(frame.size().toSize(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    card.paint(painter, *failed, frame, {});
    painter.end();

    // The failed mark's tooltip starts 3 points inside the badge's capsule.
    const int markY = 8 + QFontMetrics(metrics.detailFont).height() / 2 + 3;
    const auto onMark = [&](int x) { return !card.toolTip(*failed, frame, QPointF(x, markY)).isEmpty(); };
    int markLeft = 199;
    while (markLeft > 0 && !onMark(markLeft))
        --markLeft;
    while (markLeft > 0 && onMark(markLeft - 1))
        --markLeft;
    ASSERT_GT(markLeft, 100);
    const int capsuleLeft = markLeft - 3;
    const QColor background = Theme::card().resolved();
    int inked = 0;
    for (int y = 8; y < 8 + QFontMetrics(metrics.detailFont).height() + 6; ++y)
        for (int x = capsuleLeft - 5; x < capsuleLeft - 1; ++x)
            inked += canvas.pixelColor(x, y) != background;
    EXPECT_EQ(inked, 0) << "the text runs up to the badge";
}

// Links are saved fully encoded; an untitled card shows its link as written,
// in its text block and its headline.
TEST_F(PostCardTest, TextFallbacksAndGonePosts)
{
    auto post = addPost(QString(), Platform::xiaohongshu, QString());
    post->setSourceURL(QStringLiteral("https://xn--fsqu00a.cn/%E8%B7%AF%E5%BE%84?q=%E5%80%BC"));
    const QString written = QStringLiteral("https://例子.cn/路径?q=值");
    EXPECT_EQ(PostCard::blockText(*post), written);
    ImageCache cache;
    Masonry grid(nullptr, cache);
    grid.resize(520, 260);
    grid.setPosts({post});
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    PaintedTexts painted(grid.size());
    grid.render(&painted);
    EXPECT_EQ(painted.texts(), written + written + PostCard::authorText(*post));
    EXPECT_TRUE(saveScreenshot(grid, QStringLiteral("library-card-link")));

    post->setNote(QStringLiteral("笔记"));
    EXPECT_EQ(PostCard::blockText(*post), QStringLiteral("笔记"));

    const CardMetrics metrics = CardMetrics::measure(QFont());
    context.remove(post);
    // A gone post paints nothing at all.
    QImage canvas(200, 300, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    PostCard(metrics).paint(painter, *post, QRectF(0, 0, 200, 300), {});
    painter.end();
    EXPECT_EQ(canvas.pixelColor(100, 100).alpha(), 0);
}

// A black platform symbol alone would vanish on a dark card.
TEST_F(PostCardTest, TheCaptionShowsThePlatformOnItsCircle)
{
    auto post = addPost(QStringLiteral("x"), Platform::x);
    const CardMetrics metrics = CardMetrics::measure(QFont());
    const QRectF frame(0, 0, 200, PostCard::height(*post, 200, metrics));
    QImage canvas(frame.size().toSize() * 2, QImage::Format_ARGB32);
    canvas.setDevicePixelRatio(2);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    PostCard(metrics).paint(painter, *post, frame, {});
    painter.end();
    // The caption's leading strip, where the badge stands.
    const int top = int(PostCard::bodyRect(frame, metrics).bottom()) * 2;
    const int right = int(CardMetrics::badgeSize + 1) * 2;
    int white = 0, black = 0;
    for (int y = top; y < canvas.height(); ++y)
        for (int x = 0; x < right; ++x) {
            const QColor pixel = canvas.pixelColor(x, y);
            if (pixel.alpha() > 200 && pixel.lightness() > 200)
                ++white;
            else if (pixel.alpha() > 200 && pixel.lightness() < 25)
                ++black;
        }
    EXPECT_GT(white, 0) << "the symbol, in white";
    EXPECT_GT(black, white) << "on its black circle";
}

TEST(FocusTiltTest, LeansTowardsThePointerLessForTallCards)
{
    EXPECT_EQ(FocusTilt::angles({200, 200}, QPointF(100, 100)), QPointF(0, 0));
    EXPECT_EQ(FocusTilt::angles({200, 200}, QPointF(0, 0)), QPointF(5, -5));
    EXPECT_LT(FocusTilt::maxAngle(700), FocusTilt::maxAngle(400));

    // The centre point only lifts: the centre stays put and the corners grow.
    const FocusTilt tilt(10, 1.02);
    const QRectF target(100, 100, 200, 200);
    const QTransform lifted = tilt.transform(target, QPointF(100, 100));
    EXPECT_EQ(lifted.map(QPointF(100, 100)), QPointF(200, 200));
}

// Cards are painted, so their badges' tooltips are found by position.
TEST_F(PostCardTest, TheFailedMarkAndTheNoteMarkExplainThemselves)
{
    auto post = addPost(QStringLiteral("failed"));
    post->setParseState(ParseState::failed);
    post->setParseError(QStringLiteral("页面打不开"));
    post->setNote(QStringLiteral("回头再看"));
    addCover(post, 100, 100);
    auto plain = addPost(QStringLiteral("plain"));
    addCover(plain, 100, 100);

    const CardMetrics metrics = CardMetrics::measure(QFont());
    const PostCard card(metrics);
    const QRectF frame(10, 20, 200, PostCard::height(*post, 200, metrics));
    const auto texts = [&](const Post &shown) {
        QSet<QString> found;
        for (qreal y = frame.top(); y < frame.bottom(); y += 2)
            for (qreal x = frame.left(); x < frame.right(); x += 2)
                found.insert(card.toolTip(shown, frame, QPointF(x, y)));
        found.remove(QString());
        return found;
    };
    EXPECT_EQ(texts(*post), (QSet<QString>{QStringLiteral("页面打不开"), QStringLiteral("有笔记")}));
    EXPECT_TRUE(texts(*plain).isEmpty());
    // The failed mark sits top right, the note mark at the caption's end.
    EXPECT_EQ(card.toolTip(*post, frame, frame.topLeft() + QPointF(8, 8)), QString());
}

} // namespace
