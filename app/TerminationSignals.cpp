#include "app/TerminationSignals.h"

#include <QObject>
#include <csignal>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <QTimer>
#else
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lrf {

namespace {

TerminationSignals* instance = nullptr;
volatile std::sig_atomic_t lastSignal = 0;

#ifdef _WIN32
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGBREAK};
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int wakeFd = -1; // the self-pipe's write end

void OnSignalArrived(int signal) {
    const int savedErrno = errno;
    lastSignal = signal;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing else can be done in a handler.
    [[maybe_unused]] const ssize_t written = write(wakeFd, &byte, 1);
    errno = savedErrno;
}

sigset_t SignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}
#endif

} // namespace

#ifdef _WIN32

// Windows has no self-pipe to watch: the handler leaves the number, a timer picks it up.
struct TerminationSignals::Impl {
    std::unique_ptr<QTimer> timer;
    std::function<void(int)> handler;
    int delivered = 0;
    bool installed = false;
};

extern "C" void OnSignalArrivedC(int signal) {
    lastSignal = signal;
    std::signal(signal, OnSignalArrivedC);
}

TerminationSignals::TerminationSignals() : impl_(std::make_unique<Impl>()) {
    if (instance != nullptr)
        throw std::logic_error("the termination signals are already watched");
    instance = this;
    lastSignal = 0;
}

TerminationSignals::~TerminationSignals() {
    if (impl_->installed)
        for (int signal : kSignals)
            std::signal(signal, SIG_DFL);
    instance = nullptr;
}

void TerminationSignals::TakeOver() {
    for (int signal : kSignals)
        std::signal(signal, OnSignalArrivedC);
    impl_->installed = true;
    impl_->timer = std::make_unique<QTimer>();
    impl_->timer->setInterval(100);
    QObject::connect(impl_->timer.get(), &QTimer::timeout, [this] {
        const int signal = lastSignal;
        if (signal != 0 && signal != impl_->delivered && impl_->handler) {
            impl_->delivered = signal;
            impl_->handler(signal);
        }
    });
    impl_->timer->start();
}

#else

struct TerminationSignals::Impl {
    int pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void(int)> handler;
    struct sigaction previous[std::size(kSignals)] = {};
    bool installed = false;
    sigset_t previousMask;
};

TerminationSignals::TerminationSignals() : impl_(std::make_unique<Impl>()) {
    if (instance != nullptr)
        throw std::logic_error("the termination signals are already watched");
    if (pipe2(impl_->pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the signal pipe");
    instance = this;
    lastSignal = 0;
    wakeFd = impl_->pipe[1];
    const sigset_t set = SignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &impl_->previousMask);
}

TerminationSignals::~TerminationSignals() {
    if (impl_->installed)
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &impl_->previous[i], nullptr);
    pthread_sigmask(SIG_SETMASK, &impl_->previousMask, nullptr);
    impl_->notifier.reset();
    wakeFd = -1;
    close(impl_->pipe[0]);
    close(impl_->pipe[1]);
    instance = nullptr;
}

void TerminationSignals::TakeOver() {
    if (!impl_->installed) {
        impl_->notifier = std::make_unique<QSocketNotifier>(impl_->pipe[0], QSocketNotifier::Read);
        QObject::connect(impl_->notifier.get(), &QSocketNotifier::activated, [this] {
            char bytes[64];
            while (read(impl_->pipe[0], bytes, sizeof bytes) > 0) {
            }
            if (impl_->handler)
                impl_->handler(lastSignal);
        });
        struct sigaction action = {};
        action.sa_handler = OnSignalArrived;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &action, &impl_->previous[i]);
        impl_->installed = true;
    }
    const sigset_t set = SignalSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

#endif

int TerminationSignals::Received() const {
    return lastSignal;
}

void TerminationSignals::OnSignal(std::function<void(int)> handler) {
    impl_->handler = std::move(handler);
}

TerminationSignals* TerminationSignals::Instance() {
    return instance;
}

const char* SignalName(int signal) {
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
#ifdef SIGHUP
    case SIGHUP:
        return "SIGHUP";
#endif
    default:
        return "?";
    }
}

} // namespace lrf
