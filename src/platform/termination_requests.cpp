#include "platform/termination_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <thread>

namespace hostlore {

namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

// The handler may run on any thread, also while the owner closes the pipe: it
// counts itself in before it takes the write end, and the owner closes the
// pipe only once the end is taken away and no handler is counted in.
static_assert(std::atomic<int>::is_always_lock_free, "used by a signal handler");
std::atomic<int> wakeWriteEnd{-1};
std::atomic<int> handlersWriting{0};
int wakeReadEnd = -1;
// What each signal did before; ignored ones (as under nohup) stay ignored.
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void NoteSignal(int /*number*/) {
    const int saved = errno;
    ++handlersWriting;
    const char byte = 1;
    // A full pipe already holds a request; nothing is lost by dropping this one.
    if (const int end = wakeWriteEnd.load(); end >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(end, &byte, 1);
    }
    --handlersWriting;
    errno = saved;
}

void TakeOver() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) {
            ::sigaction(kSignals[i], &action, nullptr);
        }
    }
}

void GiveBack() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &previous[i], nullptr);
    }
}

}  // namespace

TerminationRequests::TerminationRequests(QObject* parent) : QObject(parent) {
    if (wakeReadEnd >= 0) {
        throw std::logic_error("Termination requests are already taken.");
    }
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("Cannot watch for termination requests.");
    }
    wakeReadEnd = ends[0];
    wakeWriteEnd = ends[1];
    notifier_ = new QSocketNotifier(wakeReadEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequests::TakeSignals);
    TakeOver();
}

TerminationRequests::~TerminationRequests() {
    if (!answered_) {
        GiveBack();
    }
    delete notifier_;
    const int writeEnd = wakeWriteEnd.exchange(-1);
    while (handlersWriting != 0) {
        std::this_thread::yield();
    }
    ::close(writeEnd);
    ::close(wakeReadEnd);
    wakeReadEnd = -1;
}

void TerminationRequests::TakeSignals() {
    std::array<char, 64> bytes{};
    while (::read(wakeReadEnd, bytes.data(), bytes.size()) > 0) {
    }
    if (answered_) {
        return;
    }
    // A close that stalls must not make the program unkillable: the next
    // signal does what it did before.
    answered_ = true;
    GiveBack();
    emit requested();
}

}  // namespace hostlore
