#include "ParseFromMemory.h"

#include "CannedNetwork.h"
#include "WaitFor.h"

#include <QCoreApplication>

namespace {

// Replies are deleted later, and no outer event loop would ever get there.
struct DeletesRepliesAtEnd {
    ~DeletesRepliesAtEnd() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace

ParsedPost Fuzz::parseFromMemory(const PostParser &parser, const QUrl &url, const QByteArray &page)
{
    const DeletesRepliesAtEnd cleanup;
    CannedNetwork network(page);
    return TestAsync::waitFor(parser.parse(url, HTTPClient(&network)));
}
