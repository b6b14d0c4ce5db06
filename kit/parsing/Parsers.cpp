#include "Parsers.h"

#include "BilibiliParser.h"
#include "DouyinParser.h"
#include "InstagramParser.h"
#include "NeteaseMusicParser.h"
#include "OpenGraphParser.h"
#include "WeChatParser.h"
#include "WeiboParser.h"
#include "XParser.h"
#include "XiaohongshuParser.h"

#include <exception>
#include <optional>

namespace {

Parsers::Parser choose(const QUrl &url, const Parsers::List &parsers, const Parsers::Parser &fallback)
{
    for (const Parsers::Parser &parser : parsers)
        if (parser->canHandle(url))
            return parser;
    return fallback;
}

// The fallback's post, or nothing when it fails: its own error never reaches the caller.
QCoro::Task<std::optional<ParsedPost>> rescue(Parsers::Parser fallback, QUrl url, HTTPClient http)
{
    try {
        co_return co_await fallback->parse(url, http);
    } catch (...) {
    }
    co_return std::nullopt;
}

} // namespace

const Parsers::List &Parsers::all()
{
    // Platform parsers go before the fallback, in the order they should be asked.
    static const List parsers = {
        std::make_shared<const XiaohongshuParser>(),
        std::make_shared<const DouyinParser>(),
        std::make_shared<const WeiboParser>(),
        std::make_shared<const XParser>(),
        std::make_shared<const BilibiliParser>(),
        std::make_shared<const WeChatParser>(),
        std::make_shared<const InstagramParser>(),
        std::make_shared<const NeteaseMusicParser>(),
        fallback(),
    };
    return parsers;
}

const Parsers::Parser &Parsers::fallback()
{
    static const Parser openGraph = std::make_shared<const OpenGraphParser>();
    return openGraph;
}

QCoro::Task<ParsedPost> Parsers::parse(QUrl url, HTTPClient http)
{
    return parse(std::move(url), std::move(http), all(), fallback());
}

QCoro::Task<ParsedPost> Parsers::parse(QUrl url, HTTPClient http, List parsers, Parser fallback)
{
    const Parser chosen = choose(url, parsers, fallback);
    std::exception_ptr failure;
    try {
        co_return co_await chosen->parse(url, http);
    } catch (...) {
        failure = std::current_exception();
    }
    if (chosen != fallback) {
        std::optional<ParsedPost> post = co_await rescue(fallback, url, http);
        if (post && !post->media.isEmpty())
            co_return std::move(*post);
    }
    std::rethrow_exception(failure);
}
