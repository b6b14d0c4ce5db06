#include "DetachedTask.h"

#include <exception>

namespace {

QCoro::Task<> guarded(QCoro::Task<> task, QString what, const QLoggingCategory &category)
{
    try {
        co_await std::move(task);
    } catch (const std::exception &error) {
        qCCritical(category, "%s failed: %s", qUtf8Printable(what), error.what());
    } catch (...) {
        qCCritical(category, "%s failed", qUtf8Printable(what));
    }
}

} // namespace

void DetachedTask::start(QCoro::Task<> task, const QString &what, const QLoggingCategory &category)
{
    guarded(std::move(task), what, category);
}
