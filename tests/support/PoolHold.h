#pragma once

#include <QSemaphore>

// Keeps every thread of the global pool waiting while it lives, so work
// handed to the pool starts only after it ends.
class PoolHold {
public:
    PoolHold();
    // Waits until every waiting thread has left, so none touches the gate after it is gone.
    ~PoolHold();
    PoolHold(const PoolHold &) = delete;
    PoolHold &operator=(const PoolHold &) = delete;

private:
    int m_threads;
    QSemaphore m_gate;
    QSemaphore m_left;
};
