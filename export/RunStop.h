#pragma once
// A request, made from another thread, that an export run end at once: a signal, or a window closing.
#include <atomic>
#include <stdexcept>

namespace lrf {

class RunStop {
public:
    void Request() noexcept { requested_.store(true); }
    bool Requested() const noexcept { return requested_.load(); }

private:
    std::atomic<bool> requested_{false};
};

// How a run ends when it sees the request: the file being written is discarded as a failed one is, and
// neither further files nor the summary follow.
class ExportInterrupted : public std::runtime_error {
public:
    ExportInterrupted() : std::runtime_error("interrompido") {}
};

} // namespace lrf
