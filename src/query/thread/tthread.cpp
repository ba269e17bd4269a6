#include "query/thread/tthread.h"

#include <stdexcept>
#include <thread>
#include <utility>

#include "query/failure_reason.h"

namespace hostlore {

namespace {

std::string ReasonOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& failure) {
        return FailureReason(failure);
    } catch (...) {
        return FailureReason(std::runtime_error("Unknown failure."));
    }
}

}  // namespace

TThread::TThread(std::shared_ptr<UiHandoff> handoff) : handoff_(std::move(handoff)) {}

void TThread::Start() {
    std::thread([self = shared_from_this()] { self->RunOnOwnThread(); }).detach();
}

void TThread::Synchronize(const std::function<void()>& work) {
    bool ran = false;
    std::exception_ptr posted;
    const bool accepted = handoff_->Run([&] {
        posted = std::exchange(postedFailure_, nullptr);
        if (!posted && !Terminated()) {
            work();
            ran = true;
        }
    });
    if (posted) {
        std::rethrow_exception(posted);
    }
    if (!accepted || !ran) {
        throw ThreadCancelled();
    }
}

void TThread::Post(std::function<void()> work) {
    if (Terminated()) {
        throw ThreadCancelled();
    }
    // The thread keeps its worker until its last hand-off, which runs after
    // this piece or follows its drop at the close.
    const bool accepted = handoff_->Post([this, work = std::move(work)] {
        if (Terminated() || postedFailure_) {
            return;
        }
        try {
            work();
        } catch (...) {
            postedFailure_ = std::current_exception();
        }
    });
    if (!accepted) {
        throw ThreadCancelled();
    }
}

void TThread::RunOnOwnThread() {
    try {
        Execute();
    } catch (const ThreadCancelled&) {
        // Cut off the window: nobody is told.
    } catch (...) {
        failure_ = ReasonOf(std::current_exception());
    }
    try {
        handoff_->Run([this] {
            if (postedFailure_ && !failure_) {
                failure_ = ReasonOf(postedFailure_);
            }
            if (!Terminated() && OnTerminate) {
                OnTerminate(*this);
            }
        });
    } catch (...) {
        // The end-of-run handler must not take the process down.
    }
}

}  // namespace hostlore
