#pragma once
// Owners of Firebird interfaces, for the driver and for the tools that write databases. Each ends its
// interface the way Firebird asks (an attachment is detached, a transaction rolled back, a statement
// freed, a cursor or blob closed) and, should that fail, still releases it; a destructor never throws.
#include "database/driver/Status.h"

#include <memory>

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

inline void End(Firebird::IMaster*, Firebird::IMetadataBuilder* p) noexcept {
    p->release();
}

// The deleter: carries the master interface that the ending calls need for their status.
struct EndInterface {
    Firebird::IMaster* master = nullptr;
    template <typename T> void operator()(T* p) const noexcept { End(master, p); }
};

// A std::unique_ptr that ends its interface as above.
template <typename T> class Owned : public std::unique_ptr<T, EndInterface> {
public:
    Owned() = default;
    Owned(Firebird::IMaster* master, T* p) : std::unique_ptr<T, EndInterface>(p, EndInterface{master}) {}

    // After a call that ended the interface itself (commit, detach, free, close succeeded).
    void Disown() noexcept { static_cast<void>(this->release()); }
    void Reset() noexcept { this->reset(); }
};

} // namespace lrf::driver
