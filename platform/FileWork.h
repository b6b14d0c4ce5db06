#pragma once

#include <QCoro/QCoroTask>
#include <QCoroFuture>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// Runs file work that can block (large reads and writes, a wait for another
// process's lock) on worker threads of its own and hands the result back to
// the coroutine that awaits it, on that coroutine's thread. What the work
// throws is thrown there, as its own type. The work must not touch records,
// a model context or the settings: those belong to the main thread.
class FileWork {
public:
    explicit FileWork(QThread::Priority priority, int maxThreads = QThread::idealThreadCount());

    template <typename Work> QCoro::Task<std::invoke_result_t<Work>> run(Work work);

private:
    template <typename Value> struct Outcome {
        std::optional<std::conditional_t<std::is_void_v<Value>, std::monostate, Value>> value;
        std::exception_ptr error;
    };

    QThreadPool m_pool;
};

template <typename Work> QCoro::Task<std::invoke_result_t<Work>> FileWork::run(Work work)
{
    using Value = std::invoke_result_t<Work>;
    // The result is moved out here rather than copied through the future,
    // whose copies could outlive this call in the worker (a held lock would
    // be released late there).
    const auto outcome = std::make_shared<Outcome<Value>>();
    QFuture<void> done = QtConcurrent::run(&m_pool, [work = std::move(work), outcome]() mutable {
        try {
            if constexpr (std::is_void_v<Value>)
                work();
            else
                outcome->value.emplace(work());
        } catch (...) {
            outcome->error = std::current_exception();
        }
    });
    co_await done;
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    if constexpr (!std::is_void_v<Value>)
        co_return std::move(*outcome->value);
}
