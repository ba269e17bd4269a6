// A plug-in the toolkit loads into an unchanged program when it is named in
// QT_QPA_GENERIC_PLUGINS (and found under QT_PLUGIN_PATH): once the first
// window has been painted and the frame handed to the display, it prints the
// milliseconds since HOSTLORE_LAUNCH_NS and the processor time used, as the
// start-up probes do, and ends the program.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWidget>
#include <cstdlib>

#include "launch_clock.h"

namespace {

void ReportAndEnd() {
    hostlore::bench::PrintSinceLaunch("window");
    hostlore::bench::PrintProcessorTime("window_cpu");
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
    QObject* create(const QString& /*name*/, const QString& /*parameters*/) override {
        // Without a parent: the toolkit deletes what its plug-ins create.
        auto* watch = new FirstPaintWatch;
        QCoreApplication::instance()->installEventFilter(watch);
        return watch;
    }
};

}  // namespace

#include "first_paint_plugin.moc"
