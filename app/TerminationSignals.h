#pragma once
// SIGTERM, SIGINT and SIGHUP handled by the program itself. The Firebird client puts in handlers of its
// own at the first attach, which shut its connections down and leave the program running; ours must
// come after them. From construction until TakeOver the signals wait, blocked, so that one arriving
// during start-up is neither lost nor given to the client; TakeOver then installs ours, and a signal
// reaches the handler given to OnSignal from the event loop of the constructing thread.
#include <functional>
#include <memory>

namespace lrf {

class TerminationSignals {
public:
    // First thing in main, before any other thread is started (the application object starts some):
    // they inherit the blocked signals.
    TerminationSignals();
    // Puts back the handlers found at TakeOver and unblocks the signals.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Installs the handlers and lets the signals in. Call it on the same thread, once the application
    // object exists and the connection has attached (or failed to), before anything waits for the
    // operator.
    void TakeOver();
    // The last signal received, 0 while none came.
    int Received() const;
    // `handler` runs on the constructing thread, from its event loop, with the signal's number.
    void OnSignal(std::function<void(int)> handler);

    // The one living instance, if any.
    static TerminationSignals* Instance();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The exit code of a program ended by `signal`: 128 + its number, as shells report it.
inline int ExitCodeForSignal(int signal) {
    return 128 + signal;
}

// The signal's name for a message ("SIGTERM").
const char* SignalName(int signal);

} // namespace lrf
