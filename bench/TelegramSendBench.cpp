// Sending a 10-photo album of 1 MB photos to a loopback Bot API, beside a
// bare POST of the same multipart bytes to the same server.
#include "FakeBotAPI.h"
#include "NetworkSession.h"
#include "RequestBody.h"
#include "TelegramSync.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QCoro/QCoroNetworkReply>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

constexpr int albumSize = 10;
constexpr qsizetype photoBytes = 1024 * 1024;

FakeBotAPI &bot()
{
    static FakeBotAPI api;
    return api;
}

TelegramSync::Payload album()
{
    TelegramSync::Payload payload{QStringLiteral("相册"), {}};
    for (int i = 0; i < albumSize; ++i) {
        QByteArray bytes(photoBytes, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), photoBytes / 4);
        payload.items.append({TelegramSync::Payload::Item::Kind::photo, bytes, {}, {}, {}, {}, {}, {}});
    }
    return payload;
}

// Runs one album upload a round; the fake's record of it is dropped between rounds.
template <typename Upload> void measure(benchmark::State &state, Upload upload)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(TestAsync::waitFor(upload()));
        state.PauseTiming();
        bot().forget();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * albumSize * photoBytes);
}

void sendAlbum(benchmark::State &state)
{
    const TelegramSync sync({FakeBotAPI::token, FakeBotAPI::chatID}, &NetworkSession::shared(), std::nullopt);
    const TelegramSync::Payload payload = album();
    measure(state, [&] { return sync.send(payload); });
}
BENCHMARK(sendAlbum)->Unit(benchmark::kMillisecond)->UseRealTime();

QCoro::Task<QByteArray> post(QNetworkRequest request, QByteArray body)
{
    QNetworkReply *reply = NetworkSession::shared().post(request, body);
    co_await reply;
    reply->deleteLater();
    co_return reply->readAll();
}

void sendAlbumBarePost(benchmark::State &state)
{
    const TelegramSync::Payload payload = album();
    QList<TelegramSync::Part> parts;
    for (int i = 0; i < albumSize; ++i)
        parts.append({QStringLiteral("f%1").arg(i), QStringLiteral("f%1.jpg").arg(i),
                      QStringLiteral("image/jpeg"), payload.items[i].data});
    const QString boundary = RequestBody::boundary();
    QString media = QStringLiteral("[");
    for (int i = 0; i < albumSize; ++i)
        media += QStringLiteral("%1{\"type\":\"photo\",\"media\":\"attach://f%2\"}").arg(i ? "," : "").arg(i);
    const QByteArray body = RequestBody::multipart(
        {{QStringLiteral("chat_id"), FakeBotAPI::chatID}, {QStringLiteral("media"), media + u']'}}, parts,
        boundary);
    QNetworkRequest request(
        HostTable::url(Host::TelegramBotAPI, "/bot" + FakeBotAPI::token + "/sendMediaGroup"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, RequestBody::multipartType(boundary));
    measure(state, [&] { return post(request, body); });
}
BENCHMARK(sendAlbumBarePost)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestHome home;
    QGuiApplication app(argc, argv);
    bot();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
