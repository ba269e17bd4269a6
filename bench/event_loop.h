#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// Runs the event loop until `done` holds.
inline void PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

inline void PumpFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    PumpUntil([&] { return clock.elapsed() >= milliseconds; });
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
