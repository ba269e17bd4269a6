#include "app/first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace hostlore {

namespace {

class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QObject* owner, std::function<void()> job)
        : QObject(owner), job_(std::move(job)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint && job_) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Queued, so the painted window reaches the screen first.
            QTimer::singleShot(0, parent(), std::move(job_));
            job_ = nullptr;
            deleteLater();
        }
        return false;
    }

  private:
    std::function<void()> job_;
};

}  // namespace

void AfterFirstPaint(QObject* owner, std::function<void()> job) {
    new FirstPaintWatch(owner, std::move(job));
}

}  // namespace hostlore
