// JPEG files, whole, cut short or damaged.
#include <QByteArray>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    const QImage image =
        DecodeJpeg(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!image.isNull()) {
        constexpr int kLargestSide = 8192;
        fuzz::Require(image.width() <= kLargestSide && image.height() <= kLargestSide,
                      "a decoded picture is no larger than the decoder allows");
    }
    return 0;
}
