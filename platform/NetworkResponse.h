#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QUrl>

// The final answer of a request after redirects. The status is whatever the
// server sent; judging it is the caller's business.
struct NetworkResponse {
    // Empty when the body went to a device instead.
    QByteArray body;
    int statusCode = 0;
    // Where the request ended after redirects.
    QUrl url;
    QList<QNetworkReply::RawHeaderPair> headers;

    // The first header of that name (case-insensitive); empty when absent.
    QByteArray header(const QByteArray &name) const;
};
