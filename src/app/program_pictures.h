#pragma once

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace hostlore {

// One of the program's pictures ("banner", "logo", "wordmark"). Screens that
// scale get the drawing made at twice the size, shown at the same size as the
// plain one, so it stays sharp.
QPixmap ProgramPicture(const QString& name, qreal devicePixelRatio = qApp->devicePixelRatio());

// The program's icon: the desktop theme's once installed, else the one built in.
QIcon ProgramIcon();

}  // namespace hostlore
