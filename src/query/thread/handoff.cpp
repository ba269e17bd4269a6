#include "query/thread/handoff.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <system_error>

namespace hostlore {

UiHandoff::UiHandoff()
    : uiThread_(std::this_thread::get_id()), wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (wakeFd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

UiHandoff::~UiHandoff() {
    ::close(wakeFd_);
}

bool UiHandoff::MustQueue(std::unique_lock<std::mutex>& lock, const std::function<void()>& work,
                          bool& accepted) {
    accepted = !closed_;
    if (!accepted || !OnUiThread()) {
        return accepted;
    }
    lock.unlock();
    work();
    return false;
}

bool UiHandoff::Run(const std::function<void()>& work) {
    std::unique_lock lock(mutex_);
    bool accepted = false;
    if (!MustQueue(lock, work, accepted)) {
        return accepted;
    }
    Request request{&work, Request::State::Queued, nullptr, {}};
    queue_.push_back({&request, {}});
    // Every piece wakes the thread: a wake for the queue alone was lost under
    // many sites at once, and the workers waited for ever.
    ::eventfd_write(wakeFd_, 1);
    request.finished.wait(lock, [&] {
        return request.state == Request::State::Done || request.state == Request::State::Cancelled;
    });
    if (request.error) {
        std::rethrow_exception(request.error);
    }
    return request.state == Request::State::Done;
}

bool UiHandoff::Post(std::function<void()> work) {
    std::unique_lock lock(mutex_);
    bool accepted = false;
    if (!MustQueue(lock, work, accepted)) {
        return accepted;
    }
    queue_.push_back({nullptr, std::move(work)});
    ::eventfd_write(wakeFd_, 1);
    return true;
}

void UiHandoff::RunQueued() {
    eventfd_t ignored = 0;
    ::eventfd_read(wakeFd_, &ignored);
    for (;;) {
        Piece piece;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return;
            }
            piece = std::move(queue_.front());
            queue_.pop_front();
            if (piece.waited != nullptr) {
                piece.waited->state = Request::State::Running;
            }
        }
        Request* request = piece.waited;
        if (request == nullptr) {
            piece.posted();
            continue;
        }
        std::exception_ptr error;
        try {
            (*request->work)();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        request->error = std::move(error);  // the worker alone may release it
        request->state = Request::State::Done;
        request->finished.notify_one();
    }
}

void UiHandoff::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (const Piece& piece : queue_) {
        if (piece.waited != nullptr) {
            piece.waited->state = Request::State::Cancelled;
            piece.waited->finished.notify_one();
        }
    }
    queue_.clear();
}

UiHandoffPump::UiHandoffPump()
    : handoff_(std::make_shared<UiHandoff>()),
      notifier_(
          std::make_unique<QSocketNotifier>(handoff_->WakeDescriptor(), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [handoff = handoff_.get()] { handoff->RunQueued(); });
}

UiHandoffPump::~UiHandoffPump() {
    notifier_.reset();
    handoff_->Close();
}

}  // namespace hostlore
