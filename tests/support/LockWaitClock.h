#pragma once

#include "Clock.h"
#include "LockFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <chrono>
#include <functional>

// A clock that stands still except while a wait for a lock pauses, which
// moves it on by the pause instead of sleeping: lock waits take no real time
// and say how long they would have lasted. The real clock comes back when
// it goes. It starts at the real time, which QLockFile's own look at a lock
// file's age goes by.
class LockWaitClock {
public:
    LockWaitClock() : m_start(QDateTime::currentDateTime()), m_now(m_start)
    {
        Clock::setSource([this] { return m_now; });
        LockFiles::setPause([this](std::chrono::milliseconds pause) {
            m_now = m_now.addMSecs(pause.count());
            if (m_onPause)
                m_onPause();
        });
    }
    ~LockWaitClock()
    {
        Clock::setSource({});
        LockFiles::setPause({});
    }
    LockWaitClock(const LockWaitClock &) = delete;
    LockWaitClock &operator=(const LockWaitClock &) = delete;

    std::chrono::milliseconds waited() const { return std::chrono::milliseconds(m_start.msecsTo(m_now)); }
    // Runs after each pause, as if another process acted meanwhile.
    void onPause(std::function<void()> action) { m_onPause = std::move(action); }

    // Leaves a lock file nobody holds, last written `age` ago (QLockFile warns
    // of one dated after the real time).
    void leaveLock(const QString &path, const QByteArray &content, std::chrono::milliseconds age) const
    {
        QFile lock(path);
        lock.open(QIODevice::WriteOnly);
        lock.write(content);
        lock.flush();
        lock.setFileTime(m_now.addMSecs(-age.count()), QFileDevice::FileModificationTime);
    }

    // What a lock file of this process holds once it is taken (QLockFile
    // takes one naming another program than the process's for a stale one).
    static QByteArray runningHolder()
    {
        return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() +
               '\n';
    }

private:
    const QDateTime m_start;
    QDateTime m_now;
    std::function<void()> m_onPause;
};
