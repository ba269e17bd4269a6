#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace hostlore::test {

// Runs the event loop until `done` holds or the time is up; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

}  // namespace hostlore::test
