#pragma once

#include <QObject>
#include <atomic>

// A switch that stops the requests watching it: whoever started a request may
// cancel it from any thread, and the request ends with NetworkError::cancelled.
class Cancellation : public QObject {
    Q_OBJECT
public:
    void cancel();
    bool isCancelled() const { return m_cancelled; }

signals:
    // Once, from the thread that cancelled.
    void cancelled();

private:
    std::atomic_bool m_cancelled = false;
};
