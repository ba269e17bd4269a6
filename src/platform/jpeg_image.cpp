#include "platform/jpeg_image.h"

#include <jpeglib.h>

#include <QFile>
#include <QSysInfo>
#include <csetjmp>
#include <cstdio>

namespace hostlore {

namespace {

constexpr JDIMENSION kMaxSide = 8192;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void ExitOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void IgnoreMessage(j_common_ptr /*info*/) {}

// Kept apart from DecodeJpeg so that no object with a destructor lives in the
// frame that longjmp leaves.
bool DecodeInto(const QByteArray& bytes, jpeg_decompress_struct& info, QImage& image) {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    // A header may claim any size; nothing of ours is near this one.
    if (info.image_width > kMaxSide || info.image_height > kMaxSide) {
        return false;
    }
    // Decoded straight into the pixel layout of the screen's pixmaps (the
    // unused byte comes as 0xFF), so that showing it converts nothing.
    info.out_color_space =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitOnError;
    errors.base.output_message = IgnoreMessage;
    QImage image;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    const bool ok = DecodeInto(bytes, info, image);
    jpeg_destroy_decompress(&info);
    return ok ? image : QImage();
}

QPixmap JpegPicture(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QPixmap::fromImage(DecodeJpeg(file.readAll()));
}

}  // namespace hostlore
