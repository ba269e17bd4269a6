#include "platform/termination_requests.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <csignal>
#include <thread>

namespace hostlore {
namespace {

std::atomic<int> earlierHandlerRuns{0};
extern "C" void EarlierHandler(int /*number*/) {
    ++earlierHandlerRuns;
}

void SetDisposition(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(number, &action, nullptr);
}

void (*Disposition(int number))(int) {
    struct sigaction action {};
    ::sigaction(number, nullptr, &action);
    return action.sa_handler;
}

int RequestsAfter(int number, const int& count) {
    ::raise(number);
    QElapsedTimer waited;
    waited.start();
    while (count == 0 && waited.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    return count;
}

TEST(TerminationRequests, TheFirstSignalIsOneRequestAndTheNextDoesWhatItDidBefore) {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        SetDisposition(number, EarlierHandler);
        earlierHandlerRuns = 0;
        int count = 0;
        {
            TerminationRequests requests;
            QObject::connect(&requests, &TerminationRequests::requested, [&] { ++count; });
            EXPECT_EQ(RequestsAfter(number, count), 1) << number;
            EXPECT_EQ(earlierHandlerRuns, 0) << number;
            ::raise(number);
            QCoreApplication::processEvents();
            EXPECT_EQ(earlierHandlerRuns, 1) << number << ": a second signal is not swallowed";
            EXPECT_EQ(count, 1) << number;
        }
        EXPECT_EQ(Disposition(number), &EarlierHandler) << number;
        SetDisposition(number, SIG_DFL);
    }
}

TEST(TerminationRequests, AnIgnoredSignalStaysIgnoredAndTheOldHandlersComeBack) {
    SetDisposition(SIGHUP, SIG_IGN);
    SetDisposition(SIGTERM, EarlierHandler);
    int count = 0;
    {
        TerminationRequests requests;
        QObject::connect(&requests, &TerminationRequests::requested, [&] { ++count; });
        ::raise(SIGHUP);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 100) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(count, 0) << "SIGHUP was ignored, as under nohup";
        EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
        EXPECT_NE(Disposition(SIGTERM), &EarlierHandler);
    }
    EXPECT_EQ(Disposition(SIGTERM), &EarlierHandler);
    SetDisposition(SIGHUP, SIG_DFL);
    SetDisposition(SIGTERM, SIG_DFL);
}

// Signals handled on another thread while the requests end must not write to
// the closed pipe, nor to whatever the program opens next under its numbers.
TEST(TerminationRequests, SignalsOnAnotherThreadDuringTheEndReachNoReusedDescriptor) {
    SetDisposition(SIGTERM, EarlierHandler);
    std::atomic<bool> done{false};
    std::thread handling([&] {
        while (!done) {
            ::sched_yield();
        }
    });
    std::thread sending([&] {
        while (!done) {
            ::pthread_kill(handling.native_handle(), SIGTERM);
        }
    });
    int strayBytes = 0;
    for (int round = 0; round < 300; ++round) {
        { const TerminationRequests requests; }
        // The lowest free numbers: the ones the requests' pipe just gave back.
        std::array<int, 2> next{};
        ASSERT_EQ(::pipe2(next.data(), O_CLOEXEC | O_NONBLOCK), 0);
        std::this_thread::yield();
        char byte = 0;
        strayBytes += static_cast<int>(::read(next[0], &byte, 1) == 1);
        ::close(next[0]);
        ::close(next[1]);
    }
    done = true;
    sending.join();
    handling.join();
    EXPECT_EQ(strayBytes, 0);
    SetDisposition(SIGTERM, SIG_DFL);
}

}  // namespace
}  // namespace hostlore
