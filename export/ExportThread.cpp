#include "export/ExportThread.h"

#include "database/Connection.h"

#include <QObject>
#include <QThread>
#include <exception>
#include <stdexcept>

namespace lrf {

ExportThread::ExportThread() = default;

ExportThread::~ExportThread() {
    if (thread_) {
        Stop();
        thread_->wait();
    }
}

void ExportThread::Start(ExportRequest request, TCRSQLConnection& connection, TSQLClientDataSet& cds1,
                         ExportSink& sink, const RegionalSettings& regional,
                         std::function<void(const ExportOutcome&)> done) {
    if (thread_)
        throw std::logic_error("an export run is already going");
    stop_ = std::make_unique<RunStop>();
    request.stop = stop_.get();
    connection_ = &connection;
    outcome_ = ExportOutcome();
    thread_.reset(QThread::create([this, request = std::move(request), &connection, &cds1, &sink, regional] {
        try {
            outcome_.result = RunExport(request, connection, cds1, sink, regional);
        } catch (...) {
            outcome_.failed = true;
            outcome_.error = std::current_exception();
        }
        // Once stopped, whatever ended the run (a cancelled statement's error too) is the stop.
        if (stop_->Requested() && outcome_.failed) {
            outcome_.failed = false;
            outcome_.error = nullptr;
            outcome_.interrupted = true;
        }
    }));
    receiver_ = std::make_unique<QObject>();
    QObject::connect(thread_.get(), &QThread::finished, receiver_.get(), [this, done = std::move(done)] {
        thread_->wait();
        thread_.reset();
        connection_ = nullptr;
        done(outcome_);
    });
    thread_->start();
}

void ExportThread::Stop() noexcept {
    if (!thread_)
        return;
    stop_->Request();
    connection_->Cancel();
}

} // namespace lrf
