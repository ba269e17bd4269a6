#include "platform/termination_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include "platform/handler_write_end.h"

namespace hostlore {

namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

HandlerWriteEnd wakeWriteEnd;
int wakeReadEnd = -1;
// What each signal did before; ignored ones (as under nohup) stay ignored.
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void NoteSignal(int /*number*/) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing is lost by dropping this one.
    if (const HandlerWriteEnd::Use end(wakeWriteEnd); end.Descriptor() >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(end.Descriptor(), &byte, 1);
    }
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
    wakeWriteEnd.Open(ends[1]);
    notifier_ = new QSocketNotifier(wakeReadEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequests::TakeSignals);
    TakeOver();
}

TerminationRequests::~TerminationRequests() {
    if (!answered_) {
        GiveBack();
    }
    delete notifier_;
    // A signal on another thread may be in the handler still.
    wakeWriteEnd.Close();
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
