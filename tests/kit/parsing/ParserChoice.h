#pragma once

#include "Parsers.h"

#include <QUrl>

// Whether the registry hands the link to a parser of type P: the first
// parser that takes it, as the dispatch chooses.
template <typename P> bool isChosenFor(const QString &link)
{
    const QUrl url(link);
    for (const Parsers::Parser &parser : Parsers::all())
        if (parser->canHandle(url))
            return dynamic_cast<const P *>(parser.get()) != nullptr;
    return false;
}
