#include "PoolHold.h"

#include <QThreadPool>

PoolHold::PoolHold() : m_threads(QThreadPool::globalInstance()->maxThreadCount())
{
    for (int i = 0; i < m_threads; ++i)
        QThreadPool::globalInstance()->start([this] {
            m_gate.acquire();
            m_left.release();
        });
}

PoolHold::~PoolHold()
{
    m_gate.release(m_threads);
    m_left.acquire(m_threads);
}
