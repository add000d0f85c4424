#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Jpeg.h"
#include "tests/jpeg/JpegTestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool isUniform(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            if (image.pixel(x, y) != first) return false;
    return true;
}

struct GoodFile {
    const char* name;
    int width;
    int height;
};

}  // namespace

// Every encoding the gallery meets loads its size and decodes to a real picture.
class GoodJpeg : public ::testing::TestWithParam<GoodFile> {};

TEST_P(GoodJpeg, LoadsSizeAndDecodesFullSize)
{
    const GoodFile& file = GetParam();
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + file.name);
    EXPECT_EQ(jpeg.Width(), file.width);
    EXPECT_EQ(jpeg.Height(), file.height);
    const QImage image = jpeg.Decode(file.width, file.height);
    ASSERT_EQ(image.size(), QSize(file.width, file.height));
    EXPECT_FALSE(isUniform(image));
}

INSTANTIATE_TEST_SUITE_P(Files, GoodJpeg,
                         ::testing::Values(GoodFile{"sizes/pic_100x80.jpg", 100, 80},
                                           GoodFile{"sizes/pic_150x300.jpg", 150, 300},
                                           GoodFile{"sizes/pic_200x200.jpg", 200, 200},
                                           GoodFile{"sizes/pic_640x480.jpg", 640, 480},
                                           GoodFile{"sizes/pic_1024x768.jpg", 1024, 768},
                                           GoodFile{"sizes/pic_1200x1600.jpg", 1200, 1600},
                                           GoodFile{"sizes/pic_1600x1200.jpg", 1600, 1200},
                                           GoodFile{"sizes/progressive_640x480.jpg", 640, 480},
                                           GoodFile{"sizes/arith_640x480.jpg", 640, 480},
                                           GoodFile{"sizes/restart_640x480.jpg", 640, 480},
                                           GoodFile{"sizes/cmyk_800x600.jpg", 800, 600},
                                           GoodFile{"sizes/exif6_640x480.jpg", 480, 640},
                                           GoodFile{"broken/truncated.jpg", 640, 480},
                                           GoodFile{"photos/photo2mp_q90_base_1632x1224.jpg", 1632,
                                                    1224}));

// The four encodings of one picture decode to the same colours, CMYK included
// (its inks are stored inverted and must come out the right way round).
TEST(JpegColours, EncodingsAgree)
{
    TJPEGImage reference;
    reference.LoadFromFile(kData + "sizes/pic_640x480.jpg");
    const QImage expected = reference.Decode(640, 480);
    for (const char* name : {"sizes/progressive_640x480.jpg", "sizes/arith_640x480.jpg",
                             "sizes/restart_640x480.jpg", "sizes/cmyk_800x600.jpg"}) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        jpeg.LoadFromFile(kData + name);
        const QImage image =
            jpeg.Decode(640, 480).scaled(640, 480, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(meanDifference(image, expected), 12.0);
    }
}

// Broken files fail with the decoder's own message code, at the stage it finds them.
TEST(JpegFailures, HeaderErrorsRaiseOnLoad)
{
    const std::pair<const char*, const char*> cases[] = {
        {"broken/not-a-jpeg.jpg", "JPEG error #53"},
        {"broken/garbage-after-soi.jpg", "JPEG error #51"},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        try {
            jpeg.LoadFromFile(kData + name);
            ADD_FAILURE() << "no error";
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(jpeg.Width(), 0);
    }
}

TEST(JpegFailures, BadHuffmanTableRaisesWhenDrawn)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "broken/bad-huffman.jpg");
    EXPECT_EQ(jpeg.Width(), 640);
    EXPECT_EQ(jpeg.Height(), 480);
    TBitmap bitmap;
    bitmap.SetWidth(200);
    bitmap.SetHeight(200);
    try {
        bitmap.Canvas()->StretchDraw(Rect(1, 25, 200, 175), &jpeg);
        ADD_FAILURE() << "no error";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), "JPEG error #8");
        EXPECT_EQ(e.Code(), 8);
    }
}

TEST(JpegFailures, UnreadablePathsRaiseAndKeepThePicture)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "sizes/pic_200x200.jpg");
    for (const std::string& path :
         {kData + "no-such-file.jpg", kData + "sizes", std::string("Q:\\nowhere\\a.jpg"),
          std::string("relative.jpg")}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(jpeg.LoadFromFile(path), Exception);
        EXPECT_EQ(jpeg.Width(), 200);
    }
}

// An empty file is no error: a 0 x 0 picture that draws nothing.
TEST(JpegEmpty, LoadsAsNothingAndDrawsNothing)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "broken/empty.jpg");
    EXPECT_EQ(jpeg.Width(), 0);
    EXPECT_EQ(jpeg.Height(), 0);
    EXPECT_TRUE(jpeg.Empty());
    TBitmap bitmap;
    bitmap.SetWidth(50);
    bitmap.SetHeight(50);
    bitmap.Canvas()->StretchDraw(Rect(0, 0, 50, 50), &jpeg);
    EXPECT_TRUE(isUniform(bitmap.Image()));
    EXPECT_EQ(bitmap.Image().pixel(10, 10), qRgb(255, 255, 255));
}

// A header claiming an absurd size loads, but decoding it whole is refused
// before anything is allocated.
TEST(JpegFailures, AbsurdDimensionsAreRefused)
{
    std::vector<unsigned char> bytes = readBytes(kData + "sizes/pic_640x480.jpg");
    ASSERT_FALSE(bytes.empty());
    bool patched = false;
    for (size_t i = 0; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = bytes[i + 7] = 0xEA;  // 60000 = 0xEA60
            bytes[i + 6] = bytes[i + 8] = 0x60;
            patched = true;
            break;
        }
    ASSERT_TRUE(patched);
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(bytes);
    EXPECT_EQ(jpeg.Width(), 60000);
    EXPECT_THROW(jpeg.Decode(60000, 60000), EJPEG);
}

// The decoder picks the smallest eighth that still covers the request.
TEST(JpegScaling, SmallestCoveringScale)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "sizes/pic_1600x1200.jpg");
    const std::pair<QSize, QSize> cases[] = {
        {{200, 150}, {200, 150}},  {{1, 1}, {200, 150}},         {{201, 150}, {400, 300}},
        {{199, 151}, {400, 300}},  {{600, 10}, {600, 450}},      {{1600, 1200}, {1600, 1200}},
        {{1601, 1}, {1600, 1200}}, {{5000, 5000}, {1600, 1200}},
    };
    for (const auto& [request, expected] : cases) {
        SCOPED_TRACE(request.width());
        EXPECT_EQ(jpeg.Decode(request.width(), request.height()).size(), expected);
    }
}

// Drawing fills exactly the rectangle with the picture, as a full-size decode
// stretched smoothly would, and leaves the rest of the bitmap alone.
TEST(JpegDraw, ScaledDrawMatchesFullSizeStretch)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "photos/photo2mp_q90_base_1632x1224.jpg");
    const QImage expected =
        jpeg.Decode(1632, 1224).scaled(200, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    TBitmap bitmap;
    bitmap.SetWidth(300);
    bitmap.SetHeight(300);
    bitmap.Canvas()->StretchDraw(Rect(10, 20, 210, 170), &jpeg);
    const QImage& image = bitmap.Image();
    EXPECT_LT(meanDifference(image.copy(10, 20, 200, 150), expected), 4.0);
    const QRgb white = qRgb(255, 255, 255);
    for (const QPoint p : {QPoint(9, 20), QPoint(210, 100), QPoint(100, 19), QPoint(100, 170),
                           QPoint(0, 0), QPoint(299, 299)})
        EXPECT_EQ(image.pixel(p), white) << p.x() << "," << p.y();
}

// A rectangle far beyond the bitmap is cut off, not allocated: the corner
// shows the picture's top-left pixel enlarged.
TEST(JpegDraw, ClipsHugeRectangles)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "sizes/pic_200x200.jpg");
    const QImage source = jpeg.Decode(200, 200);
    TBitmap bitmap;
    bitmap.SetWidth(100);
    bitmap.SetHeight(100);
    bitmap.Canvas()->StretchDraw(Rect(0, 0, 200000, 200000), &jpeg);
    EXPECT_LT(meanDifference(bitmap.Image().copy(0, 0, 1, 1), source.copy(0, 0, 1, 1)), 3.0);
}
