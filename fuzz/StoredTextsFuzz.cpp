#include "FuzzCheck.h"
#include "Media.h"
#include "Post.h"

#include <QtEndian>
#include <cstring>

namespace {

// Channel message ids are kept as text: ids read from any text are written and
// read back unchanged.
void checkMessageIDs(const QString &raw)
{
    Post post(QStringLiteral("https://example.com/1"), Platform::web);
    post.setTelegramMessageIDsRaw(raw);
    const QList<qint64> ids = post.telegramMessageIDs();
    Post copy(QStringLiteral("https://example.com/2"), Platform::web);
    copy.setTelegramMessageIDs(ids);
    Fuzz::require(copy.telegramMessageIDs() == ids, "message ids written and read back are equal");
}

// A run of ids from one stored first id never wraps round.
void checkMessageRun(const QByteArray &bytes)
{
    qint64 first = 0;
    std::memcpy(&first, bytes.constData(), qMin<size_t>(sizeof first, size_t(bytes.size())));
    Post post(QStringLiteral("https://example.com/3"), Platform::web);
    post.setTelegramMessageID(qFromLittleEndian(first));
    const QList<qint64> ids = post.telegramMessageIDs();
    for (qsizetype i = 1; i < ids.size(); ++i)
        Fuzz::require(ids[i] == ids[i - 1] + 1, "a run counts up by one");
}

// Raw values that name no case read as the default case and store its name.
void checkRawValues(const QString &raw)
{
    Post post(QStringLiteral("https://example.com/4"), Platform::web);
    post.setPlatformRaw(raw);
    post.setParseStateRaw(raw);
    const Platform platform = post.platform();
    Fuzz::require(Platform::fromRawValueOrWeb(platform.rawValue()) == platform, "a platform reads back");
    const ParseState state = post.parseState();
    post.setParseState(state);
    Fuzz::require(post.parseState() == state, "a parse state reads back");
    Media media(MediaKind::image, 0);
    media.setKindRaw(raw);
    const MediaKind kind = media.kind();
    media.setKind(kind);
    Fuzz::require(media.kind() == kind, "a media kind reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    checkMessageIDs(text);
    checkMessageRun(Fuzz::bytes(data, size));
    checkRawValues(text);
    return 0;
}
