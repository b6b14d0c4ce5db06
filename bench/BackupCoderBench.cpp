// Reading and writing a backup document of 10,000 posts with media and
// settings, each beside a bare QJsonDocument pass over the same bytes.

#include "BackupCoder.h"

#include <QJsonDocument>
#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 10000;

Backup::File makeFile()
{
    Backup::File file;
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1600000000, Qt::UTC);
    file.exportedAt = start;
    file.settings =
        QMap<QString, Backup::SettingValue>{{"appearance", QString("dark")}, {"downloadVideos", true}};
    file.authorGroups = QList<Backup::AuthorGroupRecord>{};
    for (int i = 0; i < postCount; ++i) {
        Backup::PostRecord post;
        post.id = QUuid::createUuid();
        post.sourceURL = QStringLiteral("https://weibo.com/%1").arg(i);
        post.platform = "weibo";
        post.title = QStringLiteral("第 %1 条").arg(i);
        post.content = QStringLiteral("正文 ").repeated(20);
        post.authorName = QStringLiteral("作者 %1").arg(i % 500);
        post.createdAt = post.updatedAt = start.addSecs(i);
        post.parseState = "parsed";
        post.isPrivate = false;
        post.telegramMessageIDs = {1000 + i};
        for (int m = 0; m < 3; ++m)
            post.media.append({QUuid::createUuid(), "image", m,
                               QStringLiteral("https://wx1.sinaimg.cn/large/%1_%2.jpg").arg(i).arg(m), "",
                               1080, 1440, 0});
        file.posts.append(post);
    }
    return file;
}

const QByteArray &documentBytes()
{
    static const QByteArray bytes = Backup::encode(makeFile());
    return bytes;
}

void BM_Decode(benchmark::State &state)
{
    const QByteArray &bytes = documentBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(Backup::decode(bytes));
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_BareParse(benchmark::State &state)
{
    const QByteArray &bytes = documentBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(bytes));
}
BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State &state)
{
    const Backup::File file = Backup::decode(documentBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(Backup::encode(file));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

void BM_BareSerialise(benchmark::State &state)
{
    const QJsonDocument document = QJsonDocument::fromJson(documentBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(document.toJson(QJsonDocument::Indented));
}
BENCHMARK(BM_BareSerialise)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
