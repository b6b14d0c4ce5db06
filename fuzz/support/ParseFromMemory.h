#pragma once

#include "PostParser.h"

#include <QByteArray>
#include <QUrl>

namespace Fuzz {

// Runs the parser on `url` to its end, with every request it makes answered
// from memory by `page` (see CannedNetwork); what the parser throws is thrown.
ParsedPost parseFromMemory(const PostParser &parser, const QUrl &url, const QByteArray &page);

} // namespace Fuzz
