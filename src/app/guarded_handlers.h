#pragma once

#include <QString>
#include <exception>

namespace hostlore {

// For windows whose event handlers must not let a failure unwind through
// Qt's event loop: a wrapped handler shows it in the window's error box.
class GuardedHandlers {
  public:
    virtual ~GuardedHandlers() = default;

    // Shows a failure the way an escaped error is shown: an error box titled
    // with the application's title, the message ending in a full stop.
    virtual void ShowError(const QString& message) = 0;

    template <class Handler>
    auto Guarded(Handler handler) {
        return [this, handler] {
            try {
                handler();
            } catch (const std::exception& error) {
                ShowError(QString::fromUtf8(error.what()));
            }
        };
    }
};

}  // namespace hostlore
