#pragma once

#include <QCoro/QCoroTask>
#include <QLoggingCategory>
#include <QString>

// Runs coroutines that nobody awaits. What such a coroutine throws has no one
// to reach: it is logged as "<what> failed: <message>" and the application
// goes on.
class DetachedTask {
public:
    static void start(QCoro::Task<> task, const QString &what, const QLoggingCategory &category);
};
