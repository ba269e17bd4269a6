#include "app/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace hostlore {

namespace {

QAction* AddItem(QMenu& menu, const QString& text, const char* name,
                 const std::function<void()>& handler) {
    QAction* item = menu.addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    if (handler) {
        QObject::connect(item, &QAction::triggered, &menu, [handler] { handler(); });
    } else {
        item->setEnabled(false);
    }
    return item;
}

}  // namespace

void BuildMainMenus(QMenuBar& bar, const MainMenuHandlers& handlers) {
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    AddItem(*file, QStringLiteral("&Save Report..."), "SaveReport1", handlers.SaveReport1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    // Ctrl+Q as well, the key every other desktop program quits with.
    AddItem(*file, QStringLiteral("E&xit"), "Exit1", handlers.Exit1Click)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::CTRL | Qt::Key_Q)});

    QMenu* options = bar.addMenu(QStringLiteral("&Options"));
    AddItem(*options, QStringLiteral("&Options"), "Options2", handlers.Options2Click);

    QMenu* help = bar.addMenu(QStringLiteral("&Help"));
    AddItem(*help, QStringLiteral("Help &Topic"), "HelpTopic1", handlers.HelpTopic1Click)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    AddItem(*help, QStringLiteral("&Email Support"), "EmailSupport1", handlers.EmailSupport1Click);
    AddItem(*help, QStringLiteral("Hostlore &Website"), "HostloreWebsite1",
            handlers.HostloreWebsite1Click);
    help->addSeparator();
    AddItem(*help, QStringLiteral("&About"), "About1", handlers.About1Click);
}

}  // namespace hostlore
