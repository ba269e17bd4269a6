#include "platform/jpeg_image.h"

#include <gtest/gtest.h>

#include <QFile>

namespace hostlore {
namespace {

QByteArray Resource(const char* path) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DecodeJpeg, DecodesTheShippedPictures) {
    const std::tuple<const char*, int, int> pictures[] = {
        {":/pictures/banner.jpg", 560, 64},
        {":/pictures/logo.jpg", 64, 64},
        {":/pictures/wordmark.jpg", 180, 64},
    };
    for (const auto& [path, width, height] : pictures) {
        const QImage image = DecodeJpeg(Resource(path));
        ASSERT_FALSE(image.isNull()) << path;
        EXPECT_EQ(image.size(), QSize(width, height)) << path;
    }
    // The banner is teal on the left: decoding really produced its colours.
    const QColor left = DecodeJpeg(Resource(":/pictures/banner.jpg")).pixelColor(2, 2);
    EXPECT_LT(left.red(), 60);
    EXPECT_GT(left.green(), 60);
}

TEST(DecodeJpeg, RefusesWhatIsNotAJpegWithoutCrashing) {
    const QByteArray whole = Resource(":/pictures/logo.jpg");
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("GIF89a not a jpeg")).isNull());
    EXPECT_TRUE(DecodeJpeg(whole.left(20)).isNull());
    // A picture cut short still decodes to its full size; the missing rows are grey.
    EXPECT_EQ(DecodeJpeg(whole.left(whole.size() / 2)).size(), QSize(64, 64));
}

// The size lives in the frame header (SOF0/SOF2): height, then width.
QByteArray WithClaimedSize(QByteArray jpeg, quint16 width, quint16 height) {
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(DecodeJpeg, RefusesAHeaderThatClaimsAHugePicture) {
    const QByteArray logo = Resource(":/pictures/logo.jpg");
    EXPECT_TRUE(DecodeJpeg(WithClaimedSize(logo, 65000, 65000)).isNull());
    EXPECT_TRUE(DecodeJpeg(WithClaimedSize(logo, 64, 60000)).isNull());
    EXPECT_EQ(DecodeJpeg(WithClaimedSize(logo, 64, 64)).size(), QSize(64, 64));
}

}  // namespace
}  // namespace hostlore
