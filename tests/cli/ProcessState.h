#pragma once
// What a running child process does with a signal, read from /proc: whether the signal waits blocked in
// its main thread (start-up) or has a handler of the program's own. Lets a test send a signal at a
// known point instead of after a guessed delay.
#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <string>

namespace lrf::test {

// The mask named `field` ("SigBlk", "SigCgt") of process `pid`; 0 once the process is gone.
inline std::uint64_t SignalMask(qint64 pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    return 0;
}

inline bool HasSignal(std::uint64_t mask, int signal) {
    return (mask >> (signal - 1)) & 1U;
}

// Waits (up to `ms`) until `ready` holds for the process.
template <class Ready> bool WaitFor(qint64 pid, Ready ready, int ms = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (ready(pid))
            return true;
        QThread::msleep(5);
    }
    return false;
}

// The program has started and holds the signals back: it is starting up.
inline bool HoldsSignals(qint64 pid) {
    return HasSignal(SignalMask(pid, "SigBlk"), SIGTERM);
}

// The program's own handlers are in and the signals let in: start-up is over.
inline bool HandlesSignals(qint64 pid) {
    return HasSignal(SignalMask(pid, "SigCgt"), SIGTERM) && !HoldsSignals(pid);
}

} // namespace lrf::test
