#pragma once

#include "FixtureServer.h"
#include "ParseError.h"
#include "Parsers.h"
#include "TestHome.h"
#include "WaitFor.h"

// How many of the links the dispatch hands to a parser of type P.
template <typename P> int chosenCount(std::initializer_list<const char *> links)
{
    return std::count_if(links.begin(), links.end(), [](const char *link) {
        const QUrl url(QString::fromUtf8(link));
        for (const Parsers::Parser &parser : Parsers::all())
            if (parser->canHandle(url))
                return dynamic_cast<const P *>(parser.get()) != nullptr;
        return false;
    });
}

// A parser P reading links on `linkAddress` of the fixture server.
template <typename P> class PlatformParserTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> parseTask(const QString &path)
    {
        return P().parse(server.url(linkAddress, path), HTTPClient());
    }
    ParsedPost parse(const QString &path) { return TestAsync::waitFor(parseTask(path)); }
    ParseError failure(const QString &path) { return TestAsync::failureOf<ParseError>(parseTask(path)); }
    QByteArray lastTarget() const
    {
        return server.requests().isEmpty() ? "" : server.requests().last().target;
    }

    FixtureServer server;
    QString linkAddress;
};
