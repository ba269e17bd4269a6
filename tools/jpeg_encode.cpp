// Turns a picture that rsvg-convert drew into the JPEG the program shows:
// jpeg_encode INPUT.png OUTPUT.jpg
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
// clang-format on

#include <QImage>
#include <memory>

namespace {

constexpr int kQuality = 92;

bool WriteJpeg(const QImage& picture, const char* path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "wb"), &std::fclose);
    if (!file) {
        return false;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    // The default error handler ends the process, which is all a build step needs.
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the row, whatever its pointer type says.
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: jpeg_encode INPUT.png OUTPUT.jpg\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "jpeg_encode: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!WriteJpeg(picture, argv[2])) {
        std::fprintf(stderr, "jpeg_encode: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
