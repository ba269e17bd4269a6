#include "query/thread/tthread.h"

#include <thread>

#include "query/failure_reason.h"

namespace hostlore {

TThread::TThread(std::shared_ptr<UiHandoff> handoff) : handoff_(std::move(handoff)) {}

void TThread::Start() {
    std::thread([self = shared_from_this()] { self->RunOnOwnThread(); }).detach();
}

void TThread::Synchronize(const std::function<void()>& work) {
    bool ran = false;
    const bool accepted = handoff_->Run([&] {
        if (!Terminated()) {
            work();
            ran = true;
        }
    });
    if (!accepted || !ran) {
        throw ThreadCancelled();
    }
}

void TThread::RunOnOwnThread() {
    try {
        Execute();
    } catch (const ThreadCancelled&) {
        // Cut off the window: nobody is told.
    } catch (const std::exception& error) {
        failure_ = FailureReason(error);
    } catch (...) {
        failure_ = FailureReason(std::runtime_error("Unknown failure."));
    }
    try {
        handoff_->Run([this] {
            if (!Terminated() && OnTerminate) {
                OnTerminate(*this);
            }
        });
    } catch (...) {
        // The end-of-run handler must not take the process down.
    }
}

}  // namespace hostlore
