#pragma once

#include "BotAnswer.h"

#include <QNetworkRequest>
#include <QString>
#include <QCoro/QCoroTask>
#include <chrono>

// Carries the Bot API requests with files: the body is written by a worker
// to an owner-only temporary file and uploaded from there, so a large album
// is neither copied again nor written on the main thread. The file goes when
// the upload ends, whatever the outcome and whether anyone still waits for
// the answer; leftovers of an earlier process are swept when the uploader is
// made. Main thread.
class BackgroundUploader {
public:
    static const QString filePrefix;
    // Leftover body files older than this belong to no upload any more.
    static constexpr std::chrono::seconds leftoverAge{3600};

    // Made on first use.
    static BackgroundUploader &shared();

    // POSTs the body through the main thread's network session. Throws
    // StoreError when the body file cannot be written, NetworkError when the
    // transport fails or the whole upload outlasts the resource time-out.
    QCoro::Task<BotAnswer> upload(QNetworkRequest request, QByteArray body) const;

    void setResourceTimeout(std::chrono::milliseconds timeout) { m_resourceTimeout = timeout; }

private:
    BackgroundUploader();

    std::chrono::milliseconds m_resourceTimeout{std::chrono::seconds(3600)};
};
