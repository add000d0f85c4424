// What a tile shows beyond the rectangle: the letterbox in the palette's
// base colour, pictures turned upright, and tiles made at a dense screen's
// device pixels, which the memory bound counts.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/ImageList.h"
#include "thumbnails/GalleryMemory.h"

// After the platform's headers, whose TRUE and FALSE libjpeg's then keep.
#include "tests/jpeg/JpegTestFiles.h"

#include <QApplication>
#include <QPalette>

#include <cmath>
#include <filesystem>
#include <fstream>

class GalleryTileTest : public GalleryTest {
protected:
    void TearDown() override
    {
        SetDevicePixelRatioForTesting(0);
        SetPhysicalMemoryForTesting(0);
        QApplication::setPalette(FPalette);
        GalleryTest::TearDown();
    }
    void WritePicture(const std::string& name, const std::vector<unsigned char>& bytes) const
    {
        std::ofstream out(std::filesystem::path(FDrive->Root()) / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Scan()
    {
        FWindow->FCurrentPath = "C:\\";
        Run([&] { FWindow->BuildThumbnails(); });
        EXPECT_TRUE(FDialogs.errors.empty());
        EXPECT_TRUE(FDialogs.messages.empty());
    }

    QPalette FPalette = QApplication::palette();
};

// Under a dark palette the bands beside the picture and the undrawn column 0
// are the palette's base colour; the picture's rectangle is unchanged.
TEST_F(GalleryTileTest, LetterboxFollowsThePalette)
{
    QPalette dark = FPalette;
    dark.setColor(QPalette::Base, QColor(32, 33, 36));
    QApplication::setPalette(dark);
    CopyPicture("sizes/pic_1600x1200.jpg", "a.jpg");
    Scan();
    const QImage tile = Tile(0);
    const QRgb base = qRgb(32, 33, 36);
    for (const QPoint p :
         {QPoint(100, 0), QPoint(100, 24), QPoint(0, 100), QPoint(100, 175), QPoint(199, 199)})
        EXPECT_EQ(tile.pixel(p), base) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(100, 25), QPoint(1, 100), QPoint(100, 174), QPoint(199, 100)})
        EXPECT_NE(tile.pixel(p), base) << p.x() << "," << p.y();
}

// A picture stored on its side with the EXIF orientation 6 is fitted as the
// turned picture: 240 x 320 as stored, 320 x 240 as seen, so on a square
// tile it fills the width with bands above and below.
TEST_F(GalleryTileTest, TurnedPictureIsFittedAsSeen)
{
    QImage upright(320, 240, QImage::Format_RGB32);
    upright.fill(qRgb(200, 40, 40));
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 320; ++x) upright.setPixel(x, y, qRgb(40, 40, 200));
    const QImage turned = upright.transformed(QTransform().rotate(270));
    WritePicture("turned.jpg", encodeJpeg(turned, {{JPEG_APP0 + 1, exifBlock(6)}}));
    Scan();
    const QImage tile = Tile(0);
    EXPECT_TRUE(IsBlank(tile.copy(0, 0, 200, 25)));
    EXPECT_TRUE(IsBlank(tile.copy(0, 175, 200, 25)));
    const QRgb top = tile.pixel(100, 40), bottom = tile.pixel(100, 160);
    EXPECT_GT(qBlue(top), 150);
    EXPECT_LT(qRed(top), 90);
    EXPECT_GT(qRed(bottom), 150);
    EXPECT_LT(qBlue(bottom), 90);
}

// At device pixel ratios 1.5 and 2 a 200 x 200 tile keeps its logical size
// but holds 300 or 400 device pixels a side, the picture's rectangle scaled
// with it, and as sharp as a tile drawn at that size.
TEST_F(GalleryTileTest, DenseScreensGetTilesOfDevicePixels)
{
    CopyPicture("sizes/pic_1600x1200.jpg", "a.jpg");
    for (const qreal ratio : {1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        SetDevicePixelRatioForTesting(ratio);
        Scan();
        const QPixmap pixmap = FWindow->ImageList1->Image(0);
        const int side = static_cast<int>(200 * ratio);
        EXPECT_EQ(pixmap.size(), QSize(side, side));
        EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(200, 200));
        // The rectangle (1, 25, 200, 175), each edge scaled and rounded.
        const QImage tile = Tile(0);
        auto edge = [ratio](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
        const int left = edge(1), top = edge(25), bottom = edge(175);
        EXPECT_TRUE(IsBlank(tile.copy(0, 0, side, top)));
        EXPECT_TRUE(IsBlank(tile.copy(0, bottom, side, side - bottom)));
        EXPECT_TRUE(IsBlank(tile.copy(0, 0, left, side)));
        EXPECT_NE(tile.pixel(left, side / 2), qRgb(255, 255, 255));
        EXPECT_NE(tile.pixel(side / 2, top), qRgb(255, 255, 255));
        EXPECT_NE(tile.pixel(side / 2, bottom - 1), qRgb(255, 255, 255));
    }
}

// The window moved to a denser screen while the scan waited (here in a
// message box): the tiles from then on are made at its device pixels, like
// those of a scan started there.
TEST_F(GalleryTileTest, DenserScreenMidScanIsHonoured)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"})
        CopyPicture("sizes/pic_1600x1200.jpg", name);
    const std::vector<AnsiString> order = SearchOrder("C:\\*.jpg");
    std::filesystem::copy_file(std::string(QUILLET_TEST_DATA "/jpeg/broken/not-a-jpeg.jpg"),
                               FDrive->Root() + "/" + order[1],
                               std::filesystem::copy_options::overwrite_existing);
    FDialogs.whileShown = [] { SetDevicePixelRatioForTesting(2.0); };
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->BuildThumbnails(); });
    ASSERT_EQ(Captions(), order);
    EXPECT_EQ(FWindow->ImageList1->Image(0).size(), QSize(200, 200));
    const QImage first = Tile(2);
    EXPECT_EQ(first.size(), QSize(400, 400));
    for (int i = 3; i < static_cast<int>(order.size()); ++i) EXPECT_EQ(Tile(i), first) << i;
    // The same as a scan made at that ratio from the start.
    Run([&] { FWindow->BuildThumbnails(); });
    EXPECT_EQ(Tile(2), first);
}

// The bound counts device pixels: where a gallery of 200 x 200 tiles may keep
// three at twice the density, a scan of five stops after three.
TEST_F(GalleryTileTest, MemoryBoundCountsDevicePixels)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", name);
    SetDevicePixelRatioForTesting(2.0);
    EXPECT_EQ(TileBytes(200, 200), 4 * 400 * 400);
    SetPhysicalMemoryForTesting(static_cast<qint64>(4 * 3.5 * TileBytes(200, 200)));
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->BuildThumbnails(); });
    EXPECT_EQ(Captions().size(), 3u);
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>{GalleryStopsMessage(3, 200, 200)});
}
