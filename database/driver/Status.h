#pragma once
// Firebird status vectors: every call is checked, and a failure becomes lrf::DatabaseError carrying
// Firebird's own formatted text.
#include <firebird/Interface.h>

#include <string>

namespace lrf::driver {

// Passed to every Firebird call that may fail; the interface wrappers call checkException after it.
class Status final : public Firebird::BaseStatusWrapper<Status> {
public:
    Status(Firebird::IMaster* master, Firebird::IUtil* util)
        : BaseStatusWrapper(master->getStatus()), util_(util) {}
    ~Status() { status->dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    static void checkException(Status* status);
    // Firebird's text for the errors held now.
    std::string Text() const;

private:
    Firebird::IUtil* util_;
};

// For clean-up calls that must not throw: the caller only asks whether the call failed.
class QuietStatus {
public:
    explicit QuietStatus(Firebird::IMaster* master) : raw_(master->getStatus()), wrapper_(raw_) {}
    ~QuietStatus() { raw_->dispose(); }
    QuietStatus(const QuietStatus&) = delete;
    QuietStatus& operator=(const QuietStatus&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    bool Failed() const { return (wrapper_.getState() & Firebird::IStatus::STATE_ERRORS) != 0; }

private:
    Firebird::IStatus* raw_;
    Firebird::CheckStatusWrapper wrapper_;
};

} // namespace lrf::driver
