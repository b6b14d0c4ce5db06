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
    // Pasted again, the link's text is taken whole and unchanged.
    const QString written = link->toString(QUrl::FullyEncoded);
    const std::optional<QUrl> again = LinkExtractor::firstURL(written);
    Fuzz::require(again && again->toString(QUrl::FullyEncoded) == written, "a link found is found again");
    return 0;
}
