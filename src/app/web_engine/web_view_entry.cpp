// The entry points the program looks up once it has loaded this module. The
// engine lives only here, so the program starts without loading it.

#include <QQuickWindow>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/web_engine/pane_page.h"
#include "app/web_engine/pane_profile.h"

namespace QtWebEngineCore {
// The engine's own set-up of the OpenGL context it shares with the
// application. The engine runs it as the application starts when it is linked
// to the program; loaded later, it has to be asked.
Q_DECL_IMPORT void initialize();
}  // namespace QtWebEngineCore

// The profile all panes share; the caller owns it and deletes it after the
// last view made on it.
extern "C" Q_DECL_EXPORT QObject* hostlore_create_web_profile() {
    // Views drawn on the GPU need the window's native surface made for them,
    // which replaces the window the user already sees; drawn in software they
    // fit the window as it is.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QtWebEngineCore::initialize();
    return hostlore::MakePaneProfile().release();
}

// A browser view on `profile`, refusing what a page should not get.
extern "C" Q_DECL_EXPORT QWidget* hostlore_create_web_view(QObject* profile) {
    auto* view = new QWebEngineView;
    view->setPage(new hostlore::PanePage(qobject_cast<QWebEngineProfile*>(profile), view));
    return view;
}
