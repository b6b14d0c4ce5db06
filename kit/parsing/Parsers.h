#pragma once

#include "HTTPClient.h"
#include "ParsedPost.h"
#include "PostParser.h"

#include <QList>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <memory>

// The registry of parsers and the one dispatch that picks a parser for a link.
namespace Parsers {

using Parser = std::shared_ptr<const PostParser>;
using List = QList<Parser>;

// Every parser in the order they are asked, the Open Graph parser last;
// built once, shared by the whole process.
const List &all();
// The Open Graph parser: takes any link, and stands in when another fails.
const Parser &fallback();

// Parses with the first parser of all() that takes the link. When that fails
// and it was not the fallback, the fallback's result is used if it has media;
// otherwise the first parser's error is thrown unchanged.
QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http);
// The same dispatch over the given parsers and fallback.
QCoro::Task<ParsedPost> parse(QUrl url, HTTPClient http, List parsers, Parser fallback);

} // namespace Parsers
