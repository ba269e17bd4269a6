// A plug-in the toolkit loads into an unchanged program when it is named in
// QT_QPA_GENERIC_PLUGINS (and found under QT_PLUGIN_PATH): once the first
// window has been painted and the frame handed to the display, it prints the
// milliseconds since HOSTLORE_LAUNCH_NS and the processor time used, as the
// start-up probes do, and ends the program.

#include <time.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

double Milliseconds(clockid_t clock, long long since) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec -
                               since) /
           1e6;
}

void ReportAndEnd() {
    const char* launch = std::getenv("HOSTLORE_LAUNCH_NS");
    std::printf("window %.1f\n", Milliseconds(CLOCK_REALTIME, launch ? std::atoll(launch) : 0));
    std::printf("window_cpu %.1f\n", Milliseconds(CLOCK_PROCESS_CPUTIME_ID, 0));
    std::fflush(stdout);
    std::_Exit(0);
}

class FirstPaintWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Handled once the painted frame has been handed to the display,
            // ahead of anything the program queued for after its first paint.
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
        return false;
    }

    void customEvent(QEvent* /*event*/) override { ReportAndEnd(); }
};

class FirstPaintPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "first_paint_plugin.json")

  public:
    QObject* create(const QString& /*name*/, const QString& /*spec*/) override {
        auto* watch = new FirstPaintWatch(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watch);
        return watch;
    }
};

}  // namespace

#include "first_paint_plugin.moc"
