#pragma once

#include <functional>

class QObject;

namespace hostlore {

// Runs `job` once, from the event loop, as soon as the first paint of any
// window has been handed to the screen; never when `owner` goes first. Work
// that does not draw the first window waits for it this way.
void AfterFirstPaint(QObject* owner, std::function<void()> job);

}  // namespace hostlore
