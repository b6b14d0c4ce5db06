#pragma once

#include <QtGlobal>
#include <QCoro/QCoroTask>
#include <algorithm>
#include <chrono>
#include <coroutine>
#include <functional>
#include <list>
#include <memory>
#include <utility>

// Waits that last until the test ends them, so a test can see what happens
// between two timers without racing the clock. A wait of no time ends at once.
class ManualWaits {
public:
    using Wait = std::function<QCoro::Task<>(std::chrono::milliseconds)>;

    // The waits to hand to the code under test; they outlive this object.
    Wait function() const
    {
        return [gates = m_gates](std::chrono::milliseconds length) { return wait(gates, length); };
    }
    // How many waits of this length were begun and not ended yet.
    qsizetype pending(std::chrono::milliseconds length) const
    {
        return std::count_if(m_gates->cbegin(), m_gates->cend(),
                             [length](const Gate &gate) { return gate.length == length && !gate.ended; });
    }
    // Ends the earliest pending wait of this length; what follows the wait
    // runs before this returns. False when there is none.
    bool endFirst(std::chrono::milliseconds length)
    {
        for (Gate &gate : *m_gates) {
            if (gate.length != length || gate.ended)
                continue;
            gate.ended = true;
            if (gate.waiting)
                std::exchange(gate.waiting, {}).resume();
            return true;
        }
        return false;
    }

private:
    struct Gate {
        std::chrono::milliseconds length;
        bool ended = false;
        std::coroutine_handle<> waiting;
    };
    struct Awaiter {
        Gate &gate;
        bool await_ready() const noexcept { return gate.ended; }
        void await_suspend(std::coroutine_handle<> coroutine) noexcept { gate.waiting = coroutine; }
        void await_resume() const noexcept {}
    };
    // A list: its elements stay where they are while more are added.
    using Gates = std::list<Gate>;

    static QCoro::Task<> wait(std::shared_ptr<Gates> gates, std::chrono::milliseconds length)
    {
        Gate &gate = gates->emplace_back(Gate{length, length.count() == 0, {}});
        co_await Awaiter{gate};
    }

    std::shared_ptr<Gates> m_gates = std::make_shared<Gates>();
};
