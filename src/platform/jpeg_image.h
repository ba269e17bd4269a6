#pragma once

#include <QByteArray>
#include <QImage>

namespace hostlore {

// Decodes a JPEG file's bytes with libjpeg; a null image when they are not one.
QImage DecodeJpeg(const QByteArray& bytes);

}  // namespace hostlore
