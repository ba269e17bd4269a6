#pragma once

#include <QWidget>
#include <functional>

#include "query/page_views.h"

class QLabel;
class QToolButton;

namespace hostlore {

// The status bar of a page whose worker the user can stop: the stop button,
// "Status:" and the status text, which screen readers announce.
class StoppableRun : public QWidget, public RunStatusView {
    Q_OBJECT

  public:
    // `stop` is what the stop button does.
    StoppableRun(const char* stopName, const QString& stopHint, const char* statusName,
                 std::function<void()> stop, QWidget* parent = nullptr);

    void ShowRunning() override;
    void ShowDone() override;
    void ShowStopped() override;
    void ShowFailed(const std::string& reason) override;

  private:
    QToolButton* stop_;
    QLabel* status_;
};

}  // namespace hostlore
