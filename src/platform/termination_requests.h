#pragma once

#include <QObject>

class QSocketNotifier;

namespace hostlore {

// Turns SIGTERM, SIGINT and SIGHUP into the `requested` signal on the thread
// that made this object, so that the end of a session or Ctrl+C in a terminal
// closes the windows the ordinary way and what they save is not lost. Only the
// first signal is turned into a request; signals that were ignored stay so. One
// may exist at a time.
class TerminationRequests : public QObject {
    Q_OBJECT

  public:
    explicit TerminationRequests(QObject* parent = nullptr);
    ~TerminationRequests() override;
    TerminationRequests(const TerminationRequests&) = delete;
    TerminationRequests& operator=(const TerminationRequests&) = delete;

  signals:
    void requested();

  private:
    void TakeSignals();

    QSocketNotifier* notifier_ = nullptr;
    bool answered_ = false;
};

}  // namespace hostlore
