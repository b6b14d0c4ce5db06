#include "FuzzCheck.h"
#include "OpenGraph.h"
#include "OpenGraphParser.h"
#include "ParseFromMemory.h"
#include "ParseError.h"
#include "Text.h"

#include <cmath>

namespace {

void checkTags(const OpenGraph &tags)
{
    for (auto entry = tags.metaTags().cbegin(); entry != tags.metaTags().cend(); ++entry) {
        Fuzz::require(!entry.key().isEmpty() && entry.key() == entry.key().toLower(), "keys are lower-case");
        Fuzz::require(!entry->isEmpty(), "a key has a value");
        const std::optional<QString> first = tags[entry.key()];
        Fuzz::require(first ? *first == entry->first() : entry->first().isEmpty(), "the first value is read");
    }
}

bool isPositiveSize(const std::optional<double> &size)
{
    return !size || (std::isfinite(*size) && *size > 0);
}

void checkPost(const ParsedPost &post)
{
    Fuzz::require(!post.title.isEmpty() || !post.media.isEmpty(), "a post has a title or media");
    Fuzz::require(!post.authorName.isEmpty() && post.authorName.size() <= Text::keyLengthLimit,
                  "the author name is a usable key");
    for (const ParsedMedia &media : post.media) {
        Fuzz::require(isPositiveSize(media.width) && isPositiveSize(media.height), "sizes are positive");
        Fuzz::require(!media.url.startsWith(QLatin1String("http://")), "links are normalised");
        const QUrl link(media.videoURL.value_or(media.url));
        if (link.isValid() && !link.scheme().isEmpty())
            Fuzz::require(HTTPClient::isWebScheme(link), "only web links are handed on");
    }
}

// The whole road of a page: the parser reads the input as the page it fetched.
void checkParser(const QByteArray &page)
{
    try {
        checkPost(
            Fuzz::parseFromMemory(OpenGraphParser(), QUrl(QStringLiteral("https://example.com/post")), page));
    } catch (const ParseError &error) {
        Fuzz::require(error.kind() == ParseError::Kind::notSupported,
                      "a page fails only for want of content");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkTags(OpenGraph(Fuzz::text(data, size)));
    checkParser(Fuzz::bytes(data, size));
    return 0;
}
