#pragma once

#include "FixtureServer.h"
#include "ParseError.h"
#include "Parsers.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QUrl>

// Whether the registry hands the link to a parser of type P: the first
// parser that takes it, as the dispatch chooses.
template <typename P> bool isChosenFor(const char *link)
{
    const QUrl url(QString::fromUtf8(link));
    for (const Parsers::Parser &parser : Parsers::all())
        if (parser->canHandle(url))
            return dynamic_cast<const P *>(parser.get()) != nullptr;
    return false;
}

// A platform parser P reading links of `linkAddress` on the fixture server.
template <typename P> class PlatformParserTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> parseTask(const QString &path)
    {
        return P().parse(server.url(linkAddress, path), HTTPClient());
    }
    ParsedPost parse(const QString &path) { return TestAsync::waitFor(parseTask(path)); }
    ParseError failure(const QString &path) { return TestAsync::failureOf<ParseError>(parseTask(path)); }
    // Path and query of every request, in the order sent.
    QList<QByteArray> targets() const
    {
        QList<QByteArray> sent;
        for (const FixtureServer::Request &request : server.requests())
            sent.append(request.target);
        return sent;
    }

    FixtureServer server;
    QString linkAddress;
};
