#pragma once

#include <QEventLoop>
#include <QTimer>
#include <QCoro/QCoroTask>
#include <chrono>
#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>

// Runs a coroutine to its end in a nested event loop, like QCoro::waitFor,
// but rethrows what the coroutine threw (QCoro::waitFor would wait forever).
namespace TestAsync {

namespace detail {

template <typename T> QCoro::Task<std::optional<T>> capture(QCoro::Task<T> task, std::exception_ptr &error)
{
    try {
        co_return co_await std::move(task);
    } catch (...) {
        error = std::current_exception();
    }
    co_return std::nullopt;
}

inline QCoro::Task<> captureVoid(QCoro::Task<> task, std::exception_ptr &error)
{
    try {
        co_await std::move(task);
    } catch (...) {
        error = std::current_exception();
    }
}

} // namespace detail

template <typename T> T waitFor(QCoro::Task<T> task)
{
    std::exception_ptr error;
    std::optional<T> result = QCoro::waitFor(detail::capture(std::move(task), error));
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

inline void waitFor(QCoro::Task<> task)
{
    std::exception_ptr error;
    QCoro::waitFor(detail::captureVoid(std::move(task), error));
    if (error)
        std::rethrow_exception(error);
}

// What the coroutine threw, of the given type; any other outcome throws
// std::logic_error, which fails the test.
template <typename Error, typename T> Error failureOf(QCoro::Task<T> task)
{
    try {
        TestAsync::waitFor(std::move(task));
    } catch (const Error &error) {
        return error;
    }
    throw std::logic_error("the coroutine did not throw the expected error");
}

// Runs the event loop until a timer of this length, started now, fires. Timers
// of this thread fire in the order they fall due, so every one due earlier
// has fired by then, however slowly the machine runs: a test can check what
// did not happen without racing the clock.
inline void runTimersDueWithin(std::chrono::milliseconds span)
{
    QEventLoop loop;
    QTimer::singleShot(span, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace TestAsync
