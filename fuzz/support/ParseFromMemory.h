#pragma once

#include "CannedNetwork.h"
#include "PostParser.h"
#include "WaitFor.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QUrl>

namespace Fuzz {

// Runs the task `start(network)` makes to its end, with every request made
// through `network` answered from memory by `page` (see CannedNetwork); what
// the task throws is thrown.
template <typename Start> auto fromMemory(const QByteArray &page, Start start)
{
    // Replies are deleted later, and no outer event loop would ever get there.
    struct DeletesRepliesAtEnd {
        ~DeletesRepliesAtEnd() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    } const cleanup;
    CannedNetwork network(page);
    return TestAsync::waitFor(start(network));
}

// Runs the parser on `url` from memory, as fromMemory does.
ParsedPost parseFromMemory(const PostParser &parser, const QUrl &url, const QByteArray &page);

} // namespace Fuzz
