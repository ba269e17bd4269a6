#include "app/program_pictures.h"

#include "platform/jpeg_image.h"

namespace hostlore {

QPixmap ProgramPicture(const QString& name, qreal devicePixelRatio) {
    const QString plain = QStringLiteral(":/pictures/") + name;
    if (devicePixelRatio > 1) {
        QPixmap sharp = JpegPicture(plain + QStringLiteral("@2x.jpg"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return JpegPicture(plain + QStringLiteral(".jpg"));
}

QIcon ProgramIcon() {
    QIcon builtIn;
    for (const int size : {16, 32, 64, 128, 256}) {
        builtIn.addFile(QStringLiteral(":/icons/hostlore-%1.png").arg(size), QSize(size, size));
    }
    return QIcon::fromTheme(QStringLiteral("hostlore"), builtIn);
}

}  // namespace hostlore
