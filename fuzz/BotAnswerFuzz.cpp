#include "FuzzCheck.h"
#include "JSON.h"
#include "ParseFromMemory.h"
#include "SyncError.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"

namespace {

const QString ledgerKey = QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E");

// A client of the channel whose rate-limit waits pass at once.
TelegramSync client(CannedNetwork &network)
{
    TelegramSync sync({QStringLiteral("123:abc"), QStringLiteral("@channel")}, &network, ledgerKey);
    TelegramSync::Timing timing;
    timing.wait = [](std::chrono::seconds) -> QCoro::Task<> { co_return; };
    sync.setTiming(timing);
    return sync;
}

bool isOk(const QByteArray &answer)
{
    try {
        return JSON::fromData(answer)["ok"].boolValue().value_or(false);
    } catch (const JSONError &) {
        return false;
    }
}

// Only positive ids go on record, each once, in order.
void checkLedger()
{
    const QList<qint64> ids = TelegramLedger::ids(ledgerKey);
    for (qsizetype i = 0; i < ids.size(); ++i)
        Fuzz::require(ids.at(i) > 0 && (i == 0 || ids.at(i - 1) < ids.at(i)),
                      "recorded ids are positive, unique and sorted");
    TelegramLedger::remove(ledgerKey);
}

void checkCall(const QByteArray &answer)
{
    try {
        Fuzz::fromMemory(answer, [](CannedNetwork &network) {
            return client(network).call(QStringLiteral("sendMessage"), {});
        });
        Fuzz::require(isOk(answer), "only an answer that says ok is accepted");
    } catch (const TelegramSync::SyncError &error) {
        Fuzz::require(!isOk(answer), "an answer that says ok is not refused");
        Fuzz::require(!error.text().trimmed().isEmpty(), "a refusal says why");
    }
    checkLedger();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkCall(Fuzz::bytes(data, size));
    return 0;
}
