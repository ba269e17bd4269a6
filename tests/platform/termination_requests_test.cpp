#include "platform/termination_requests.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <csignal>

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

}  // namespace
}  // namespace hostlore
