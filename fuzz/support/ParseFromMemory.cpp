#include "ParseFromMemory.h"

ParsedPost Fuzz::parseFromMemory(const PostParser &parser, const QUrl &url, const QByteArray &page)
{
    return fromMemory(page, [&](CannedNetwork &network) { return parser.parse(url, HTTPClient(&network)); });
}
