#include "BilibiliParser.h"
#include "InstagramParser.h"
#include "JSON.h"
#include "Markup.h"
#include "OpenGraph.h"
#include "WeChatParser.h"
#include "XParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

// Each platform's answer at about 1 MB, parsed into a post beside the bare
// reading of the same bytes (as JSON, or a page scanned for its meta tags).
namespace {

constexpr int kRuns = 1000;

QString filler(int count)
{
    return QStringLiteral("一段很长的说明 with some words. ").repeated(count);
}

QByteArray xReply()
{
    QJsonArray media;
    for (int i = 0; i < 3000; ++i)
        media.append(QJsonObject{{"type", i % 3 ? "photo" : "video"},
                                 {"url", QStringLiteral("https://pbs.test/%1.jpg").arg(i)},
                                 {"thumbnail_url", QStringLiteral("https://pbs.test/%1-t.jpg").arg(i)},
                                 {"width", 1200},
                                 {"height", 800},
                                 {"duration", 12.5}});
    const QJsonObject tweet{{"text", filler(20000)},
                            {"created_timestamp", 1700000000},
                            {"author", QJsonObject{{"name", "Someone"}, {"screen_name", "someone"}}},
                            {"media", QJsonObject{{"all", media}}}};
    return QJsonDocument(QJsonObject{{"code", 200}, {"tweet", tweet}}).toJson(QJsonDocument::Compact);
}

QByteArray bilibiliView()
{
    QJsonArray pages;
    for (int i = 0; i < 12000; ++i)
        pages.append(
            QJsonObject{{"cid", 1000 + i}, {"page", i + 1}, {"part", QStringLiteral("第%1集").arg(i)}});
    const QJsonObject data{
        {"bvid", "BV1xx411c7mD"}, {"aid", 170001},         {"cid", 1000},
        {"title", "A video"},     {"desc", filler(15000)}, {"pic", "https://i0.test/c.jpg"},
        {"pages", pages}};
    return QJsonDocument(QJsonObject{{"code", 0}, {"data", data}}).toJson(QJsonDocument::Compact);
}

QString instagramContext()
{
    QJsonArray edges;
    for (int i = 0; i < 4000; ++i)
        edges.append(QJsonObject{
            {"node",
             QJsonObject{{"display_url", QStringLiteral("https://cdn.test/%1.jpg?stp=dst-jpg&_nc=1").arg(i)},
                         {"is_video", i % 5 == 0},
                         {"video_url", QStringLiteral("https://cdn.test/%1.mp4").arg(i)},
                         {"dimensions", QJsonObject{{"width", 1080}, {"height", 1350}}}}}});
    const QJsonObject media{
        {"edge_media_to_caption",
         QJsonObject{{"edges", QJsonArray{QJsonObject{{"node", QJsonObject{{"text", filler(5000)}}}}}}}},
        {"owner", QJsonObject{{"username", "someone"}}},
        {"edge_sidecar_to_children", QJsonObject{{"edges", edges}}}};
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"gql_data", QJsonObject{{"shortcode_media", media}}}})
                                 .toJson(QJsonDocument::Compact));
}

// The context as the embed page carries it: an escaped JSON text in a script.
QString instagramEmbed()
{
    const QString escaped =
        QString::fromUtf8(QJsonDocument(QJsonArray{instagramContext()}).toJson(QJsonDocument::Compact));
    return QStringLiteral(
               "<html><head><title>Instagram</title></head><body><script>s.handle({\"contextJSON\":") +
           escaped.mid(1, escaped.size() - 2) + QStringLiteral("});</script></body></html>");
}

QString weChatArticle()
{
    QString body;
    for (int i = 0; i < 6500; ++i)
        body +=
            QStringLiteral(
                "<section><p>第%1段 <b>加粗</b> &amp; 正文，还有一些文字。</p>"
                "<img data-src=\"https://mmbiz.qpic.cn/mmbiz_jpg/%1/640?wx_fmt=jpeg&amp;tp=1\"></section>\n")
                .arg(i);
    return QStringLiteral(
               "<html><head><meta property=\"og:title\" content=\"标题\">"
               "<meta property=\"og:image\" content=\"https://mmbiz.qpic.cn/cover.jpg\"></head><body>"
               "<h1>标题</h1><a id=\"js_name\">公众号</a><div id=\"js_content\" style=\"\">") +
           body +
           QStringLiteral(
               "</div><script>var nickname = htmlDecode(\"公众号\"); var ct = \"1700000000\";</script>"
               "</body></html>");
}

void labelSize(benchmark::State &state, qsizetype bytes)
{
    state.SetLabel(QStringLiteral("%1 KB").arg(bytes / 1024).toStdString());
}

void readJSONOnly(benchmark::State &state, QByteArray (*answer)())
{
    const QByteArray bytes = answer();
    for (auto _ : state)
        benchmark::DoNotOptimize(JSON::fromData(bytes).exists());
    labelSize(state, bytes.size());
}

void scanOpenGraphOnly(benchmark::State &state, QString (*answer)())
{
    const QString page = answer();
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenGraph(page).metaTags().size());
    labelSize(state, page.toUtf8().size());
}

void xParse(benchmark::State &state)
{
    const QByteArray reply = xReply();
    for (auto _ : state)
        benchmark::DoNotOptimize(XParser::post(JSON::fromData(reply), "someone", "1").media.size());
    labelSize(state, reply.size());
}

void bilibiliParse(benchmark::State &state)
{
    const QByteArray reply = bilibiliView();
    const QUrl link(QStringLiteral("https://www.bilibili.com/video/BV1xx411c7mD?p=9000"));
    for (auto _ : state)
        benchmark::DoNotOptimize(BilibiliParser::view(JSON::fromData(reply), link).cid);
    labelSize(state, reply.size());
}

void instagramParse(benchmark::State &state)
{
    const QString page = instagramEmbed();
    const QString link = QStringLiteral("https://www.instagram.com/p/A/");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            InstagramParser::post(InstagramParser::contextJSON(page).value(), link).media.size());
    labelSize(state, page.toUtf8().size());
}

// The context, already unescaped, read once as JSON: the least any reader of the page must do.
QByteArray instagramContextBytes()
{
    return instagramContext().toUtf8();
}

void weChatParse(benchmark::State &state)
{
    const QString page = weChatArticle();
    const QUrl link(QStringLiteral("https://mp.weixin.qq.com/s/abc"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WeChatParser::post(page, link).media.size());
    labelSize(state, page.toUtf8().size());
}

// The article body made plain text alone: the helper that most of a parse spends its time in.
void weChatStripBodyOnly(benchmark::State &state)
{
    const QString page = weChatArticle();
    for (auto _ : state)
        benchmark::DoNotOptimize(Markup::strippingHTML(page).size());
    labelSize(state, page.toUtf8().size());
}

} // namespace

BENCHMARK(xParse)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readJSONOnly, x, xReply)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(bilibiliParse)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readJSONOnly, bilibili, bilibiliView)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(instagramParse)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scanOpenGraphOnly, instagram, instagramEmbed)
    ->Iterations(kRuns)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readJSONOnly, instagramContext, instagramContextBytes)
    ->Iterations(kRuns)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(weChatParse)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scanOpenGraphOnly, wechat, weChatArticle)->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(weChatStripBodyOnly)->Iterations(kRuns)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
