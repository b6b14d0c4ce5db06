#include "FuzzCheck.h"
#include "LinkExtractor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QUrl> link = LinkExtractor::firstURL(Fuzz::text(data, size));
    if (!link)
        return 0;
    Fuzz::require(link->isValid(), "a link found is valid");
    const QString scheme = link->scheme().toLower();
    Fuzz::require(scheme == QLatin1String("http") || scheme == QLatin1String("https"),
                  "a link found is http or https");
    Fuzz::require(!link->host().isEmpty(), "a link found has a host");
    const QString written = link->toString(QUrl::FullyEncoded);
    Fuzz::require(LinkExtractor::firstURL(written) == link, "a link found is found again in its own text");
    return 0;
}
