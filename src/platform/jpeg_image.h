#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace hostlore {

// Decodes a JPEG file's bytes with libjpeg; a null image when they are not one.
QImage DecodeJpeg(const QByteArray& bytes);

// One of the program's own JPEG pictures from its resources; empty when missing.
QPixmap JpegPicture(const QString& resource);

}  // namespace hostlore
