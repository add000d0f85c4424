// Pictures whose EXIF block says how they are meant to be seen: each of the
// eight orientations shows the upright picture, and a block that is broken,
// or a segment that is no EXIF block, leaves the picture as stored.

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Jpeg.h"
#include "platform/toolkit/private/ExifOrientation.h"
#include "tests/jpeg/JpegTestFiles.h"

#include <QPainter>
#include <QTransform>

#include <gtest/gtest.h>

namespace {

// A picture that looks different turned or mirrored any way: four coloured
// quarters with a gradient across them.
QImage uprightPicture()
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int shade = (x + 2 * y) / 4;
            const bool right = x >= 160, bottom = y >= 120;
            image.setPixel(x, y,
                           qRgb(right ? 230 : shade, bottom ? 200 : 40 + shade / 2,
                                right == bottom ? 30 : 250 - shade));
        }
    return image;
}

// How the upright picture is stored for each orientation: the opposite turn.
QImage stored(const QImage& upright, int orientation)
{
    const QTransform quarter = QTransform().rotate(90);
    switch (orientation) {
    case 2: return upright.mirrored(true, false);
    case 3: return upright.transformed(QTransform().rotate(180));
    case 4: return upright.mirrored(false, true);
    case 5: return upright.transformed(quarter).mirrored(true, false);
    case 6: return upright.transformed(QTransform().rotate(270));
    case 7: return upright.transformed(quarter).mirrored(false, true);
    case 8: return upright.transformed(quarter);
    default: return upright;
    }
}

JpegSegment app1(std::vector<unsigned char> data)
{
    return {JPEG_APP0 + 1, std::move(data)};
}

const std::string kXmp = "http://ns.adobe.com/xap/1.0/";

JpegSegment xmpSegment()
{
    std::vector<unsigned char> data(kXmp.begin(), kXmp.end());
    data.push_back(0);
    const std::string packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    data.insert(data.end(), packet.begin(), packet.end());
    return app1(std::move(data));
}

// The picture drawn as the gallery draws it, into rect of a 200 x 200 tile.
QImage drawn(TJPEGImage& picture, const TRect& rect)
{
    TBitmap bitmap;
    bitmap.SetWidth(200);
    bitmap.SetHeight(200);
    bitmap.Canvas()->StretchDraw(rect, &picture);
    return bitmap.Image();
}

TJPEGImage loaded(const std::vector<unsigned char>& bytes)
{
    TJPEGImage picture;
    picture.LoadFromBytes(bytes);
    return picture;
}

}  // namespace

// One picture stored in each of the eight orientations, the tag in either
// byte order: each has the upright picture's size, decodes to it and draws
// as it does, into a rectangle inside the tile and one cut off by it.
TEST(JpegOrientation, EveryOrientationShowsTheUprightPicture)
{
    const QImage upright = uprightPicture();
    TJPEGImage reference = loaded(encodeJpeg(upright));
    const QImage decodedReference = reference.Decode(320, 240);
    const TRect rects[] = {Rect(1, 25, 200, 175), Rect(-60, 10, 240, 235)};
    for (int orientation = 1; orientation <= 8; ++orientation)
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(testing::Message() << "orientation " << orientation
                                            << (bigEndian ? " big-endian" : " little-endian"));
            const QImage turned = stored(upright, orientation);
            TJPEGImage picture =
                loaded(encodeJpeg(turned, {app1(exifBlock(unsigned(orientation), bigEndian))}));
            EXPECT_EQ(picture.Orientation(), orientation);
            EXPECT_EQ(picture.Width(), 320);
            EXPECT_EQ(picture.Height(), 240);
            const QImage decoded = picture.Decode(320, 240);
            ASSERT_EQ(decoded.size(), QSize(320, 240));
            EXPECT_LT(meanDifference(decoded, decodedReference), 2.0);
            for (const TRect& rect : rects) {
                SCOPED_TRACE(rect.Left);
                EXPECT_LT(meanDifference(drawn(picture, rect), drawn(reference, rect)), 2.0);
            }
        }
}

// A block that cannot be read, a value out of range, a tag of another type,
// and APP1 segments that are no EXIF block: the picture is shown as stored.
TEST(JpegOrientation, BrokenOrMissingTagsLeaveThePictureAsStored)
{
    const QImage turned = stored(uprightPicture(), 6);  // 240 x 320 as stored
    std::vector<unsigned char> truncated = exifBlock(6);
    truncated.resize(truncated.size() - 10);  // ends inside the orientation's entry
    std::vector<unsigned char> badOrder = exifBlock(6);
    badOrder[6] = badOrder[7] = 'X';
    std::vector<unsigned char> farDirectory = exifBlock(6);
    farDirectory[10] = 0xF0;  // the first directory lies past the block's end
    const std::vector<std::vector<JpegSegment>> cases = {
        {},
        {app1(truncated)},
        {app1({'E', 'x', 'i', 'f', 0, 0, 'I'})},
        {app1(badOrder)},
        {app1(farDirectory)},
        {app1(exifBlock(0))},
        {app1(exifBlock(9))},
        {app1(exifBlock(1))},
        {app1(exifBlock(6, false, 4))},
        {xmpSegment()},
        {{JPEG_APP0 + 2, exifBlock(6)}},
    };
    TJPEGImage plain = loaded(encodeJpeg(turned));
    const QImage plainDrawn = drawn(plain, Rect(1, -33, 200, 233));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        TJPEGImage picture = loaded(encodeJpeg(turned, cases[i]));
        EXPECT_EQ(picture.Orientation(), 1);
        EXPECT_EQ(picture.Width(), 240);
        EXPECT_EQ(picture.Height(), 320);
        EXPECT_EQ(drawn(picture, Rect(1, -33, 200, 233)), plainDrawn);
    }
}

// The EXIF block is found behind an XMP segment (both are APP1 segments),
// and a second EXIF block does not override the first.
TEST(JpegOrientation, ExifBlockAfterAnXmpSegment)
{
    const QImage turned = stored(uprightPicture(), 6);
    TJPEGImage picture = loaded(encodeJpeg(turned, {xmpSegment(), app1(exifBlock(6, true))}));
    EXPECT_EQ(picture.Orientation(), 6);
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(picture.Height(), 240);
    TJPEGImage twice =
        loaded(encodeJpeg(turned, {app1(exifBlock(6)), xmpSegment(), app1(exifBlock(3))}));
    EXPECT_EQ(twice.Orientation(), 6);
}

// Every prefix of a block is read within its bounds and gives no
// orientation until the tag's entry is whole.
TEST(JpegOrientation, EveryTruncationOfABlockIsSafe)
{
    for (const bool bigEndian : {false, true}) {
        const std::vector<unsigned char> block = exifBlock(8, bigEndian);
        for (size_t size = 0; size <= block.size(); ++size) {
            std::vector<unsigned char> prefix(block.begin(), block.begin() + long(size));
            const bool whole = size >= block.size() - 4;  // the next-directory offset may go
            EXPECT_EQ(ExifOrientationOfSegment(prefix.data(), prefix.size()), whole ? 8 : 0)
                << size;
        }
    }
}
