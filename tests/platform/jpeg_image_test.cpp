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

}  // namespace
}  // namespace hostlore
