#include "app/help_window.h"

#include <QUrl>
#include <QVBoxLayout>

#include "app/font_scale.h"

namespace hostlore {

HelpWindow::HelpWindow(WebPane* pane, const QString& manual, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Hostlore Help"));
    resize((QSizeF(760, 560) * GrowthScale()).toSize());
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    pane->setObjectName(QStringLiteral("HelpPane"));
    pane->setAccessibleName(QStringLiteral("Hostlore Help"));
    column->addWidget(pane);
    pane->Navigate(QUrl::fromLocalFile(manual).toString());
}

}  // namespace hostlore
