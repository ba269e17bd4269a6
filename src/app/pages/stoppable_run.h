#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QToolButton;

namespace hostlore {

class TThread;
class TNetTCPConnection;

// The status bar of a page whose worker the user can stop: the stop button,
// "Status:" and the status text. It holds the page's current worker and its
// connection, so stopping, the end of a run and a newer query's cut-off work
// the same way on every such page.
class StoppableRun : public QWidget {
    Q_OBJECT

  public:
    StoppableRun(const char* stopName, const QString& stopHint, const char* statusName,
                 QWidget* parent = nullptr);

    // The worker becomes the one the stop button stops, and the status shows
    // it running. Its end-of-run handler sets the status to done.
    void Start(const std::shared_ptr<TThread>& worker,
               std::weak_ptr<TNetTCPConnection> connection = {});

    // The status reads exactly the running text.
    bool Running() const;

    // The stop button's work. While running: closes the connection, cuts the worker off the window
    // (it changes nothing more and its end-of-run handler never runs) and
    // shows done. Failures are of no interest to the user.
    void Stop();

  private:
    void Finished();

    QToolButton* stop_;
    QLabel* status_;
    std::weak_ptr<TThread> worker_;
    std::weak_ptr<TNetTCPConnection> connection_;
};

}  // namespace hostlore
