#include "FileWork.h"

FileWork::FileWork(QThread::Priority priority, int maxThreads)
{
    m_pool.setMaxThreadCount(maxThreads);
    m_pool.setThreadPriority(priority);
}
