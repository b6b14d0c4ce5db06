#include "JSON.h"
#include "XiaohongshuParser.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRuns = 200;
const QUrl kPage(QStringLiteral("https://www.xiaohongshu.com/explore/note0"));

QString note(int index)
{
    return QStringLiteral(
               R"({"note":{"noteId":"note%1","type":"normal","title":"标题 %1","desc":"春天[话题]#旅行[话题]#[笑哭R]",)"
               R"("time":1700000000000,"user":{"nickname":"小红","avatar":"//sns-avatar/%1.jpg"},"imageList":[)"
               R"({"urlDefault":"http://sns-img/%1-1.jpg","width":1080,"height":1440,"livePhoto":true,)"
               R"("stream":{"h264":[{"masterUrl":"http://sns-video/%1.mp4"}]}},)"
               R"({"urlDefault":"http://sns-img/%1-2.jpg","width":1080,"height":1440,"livePhoto":false}]}})")
        .arg(index);
}

// The state of a desktop note page: the note and the feed around it, about 2 MB.
QString scriptText()
{
    QStringList entries;
    for (int i = 0; QString(entries.join(u',')).size() < 2'000'000; ++i)
        entries.append(QStringLiteral("\"note%1\":").arg(i) + note(i));
    return QStringLiteral(R"({"global":{"user":null},"note":{"noteDetailMap":{)") + entries.join(u',') +
           QStringLiteral("}}}");
}

QString page(const QString &script)
{
    return QStringLiteral("<html><head><title>小红书</title></head><body><div id=\"app\"></div>"
                          "<script>window.__INITIAL_STATE__=") +
           script + QStringLiteral("</script></body></html>");
}

void parseDesktopPage(benchmark::State &state)
{
    const QString html = page(scriptText());
    for (auto _ : state) {
        const std::optional<JSON> found = XiaohongshuParser::desktopNote(html, kPage);
        benchmark::DoNotOptimize(XiaohongshuParser::post(found.value_or(JSON()), kPage).media.size());
    }
    state.counters["pageMB"] = double(html.toUtf8().size()) / 1e6;
}
BENCHMARK(parseDesktopPage)->Iterations(kRuns)->Unit(benchmark::kMillisecond);

// Baseline: only reading the same script text as JSON.
void readScriptAsJSON(benchmark::State &state)
{
    const QByteArray script = scriptText().toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(JSON::fromData(script).raw().isObject());
}
BENCHMARK(readScriptAsJSON)->Iterations(kRuns)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
