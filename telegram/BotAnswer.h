#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QCoro/QCoroTask>

// What the Bot API answered: the bytes and the HTTP status (0 when the answer
// was not HTTP). An error status is an answer too; only a failed connection
// is thrown, as NetworkError.
class BotAnswer {
public:
    // Answers are a few kilobytes; a larger one is cut off here and then reads
    // as no JSON at all.
    static constexpr qint64 sizeLimit = 4 * 1024 * 1024;

    // Waits for the reply to finish and takes it over (it is deleted later).
    static QCoro::Task<BotAnswer> of(QNetworkReply *reply);

    QByteArray body;
    int status = 0;
};
