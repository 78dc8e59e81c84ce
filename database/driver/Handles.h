#pragma once
// Owners of Firebird interfaces. Each ends its interface the way Firebird asks (an attachment is
// detached, a transaction rolled back, a statement freed, a cursor or blob closed) and, should that
// fail, still releases it; a destructor never throws.
#include "database/driver/Status.h"

#include <utility>

namespace lrf::driver {

inline void End(Firebird::IMaster* master, Firebird::IAttachment* p) noexcept {
    QuietStatus status(master);
    p->detach(&status);
    if (status.Failed())
        p->release();
}
inline void End(Firebird::IMaster* master, Firebird::ITransaction* p) noexcept {
    QuietStatus status(master);
    p->rollback(&status);
    if (status.Failed())
        p->release();
}
inline void End(Firebird::IMaster* master, Firebird::IStatement* p) noexcept {
    QuietStatus status(master);
    p->free(&status);
    if (status.Failed())
        p->release();
}
inline void End(Firebird::IMaster* master, Firebird::IResultSet* p) noexcept {
    QuietStatus status(master);
    p->close(&status);
    if (status.Failed())
        p->release();
}
inline void End(Firebird::IMaster* master, Firebird::IBlob* p) noexcept {
    QuietStatus status(master);
    p->close(&status);
    if (status.Failed())
        p->release();
}
inline void End(Firebird::IMaster*, Firebird::IMessageMetadata* p) noexcept {
    p->release();
}
inline void End(Firebird::IMaster*, Firebird::IProvider* p) noexcept {
    p->release();
}
inline void End(Firebird::IMaster*, Firebird::IXpbBuilder* p) noexcept {
    p->dispose();
}

template <typename T> class Owned {
public:
    Owned() = default;
    Owned(Firebird::IMaster* master, T* pointer) : master_(master), pointer_(pointer) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept
        : master_(other.master_), pointer_(std::exchange(other.pointer_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            master_ = other.master_;
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // After a call that ended the interface itself (commit, detach, free, close succeeded).
    void Disown() noexcept { pointer_ = nullptr; }
    void Reset() noexcept {
        if (pointer_)
            End(master_, std::exchange(pointer_, nullptr));
    }

private:
    Firebird::IMaster* master_ = nullptr;
    T* pointer_ = nullptr;
};

} // namespace lrf::driver
