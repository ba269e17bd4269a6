#include "platform/shell_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace hostlore {

void DesktopShellOpener::Open(const QString& target) {
    const QUrl url = target.startsWith('/') ? QUrl::fromLocalFile(target) : QUrl(target);
    QDesktopServices::openUrl(url);
}

}  // namespace hostlore
