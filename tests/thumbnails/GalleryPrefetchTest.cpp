// The scan decodes ahead on worker threads; what it shows must not differ
// from drawing each picture in turn on this thread.

#include "tests/thumbnails/GalleryFixture.h"
#include "tests/thumbnails/SlowDisk.h"

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Jpeg.h"
#include "thumbnails/TileFit.h"

#include <algorithm>
#include <filesystem>

namespace {

const char* const kPictures[] = {
    "pic_1600x1200.jpg", "pic_1200x1600.jpg",   "pic_640x480.jpg",         "pic_1024x768.jpg",
    "pic_200x200.jpg",   "pic_150x300.jpg",     "pic_100x80.jpg",          "cmyk_800x600.jpg",
    "arith_640x480.jpg", "restart_640x480.jpg", "progressive_640x480.jpg",
};

// The tile the plain drawing path makes of the file at posixPath.
QImage ReferenceTile(const std::string& posixPath, int tileWidth, int tileHeight)
{
    TJPEGImage picture;
    picture.LoadFromFile(posixPath);
    TBitmap bitmap;
    bitmap.SetWidth(tileWidth);
    bitmap.SetHeight(tileHeight);
    if (const auto rect = FitPictureInTile(float(picture.Width()), float(picture.Height()),
                                           tileWidth, tileHeight))
        bitmap.Canvas()->StretchDraw(*rect, &picture);
    return bitmap.Image();
}

}  // namespace

TEST_F(GalleryTest, TilesMatchDrawingOnTheUserInterfaceThread)
{
    for (const char* name : kPictures) CopyPicture(std::string("sizes/") + name, name);
    FWindow->FCurrentPath = "C:\\";
    for (const auto& [tileWidth, tileHeight] : {std::pair{200, 200}, {300, 200}, {120, 250}}) {
        SCOPED_TRACE(testing::Message() << tileWidth << "x" << tileHeight);
        ThumbWidth = tileWidth;
        ThumbHeight = tileHeight;
        FWindow->ImageList1->SetSize(tileWidth, tileHeight);
        Run([&] { FWindow->BuildThumbnails(); });
        const std::vector<AnsiString> captions = Captions();
        ASSERT_EQ(captions, SearchOrder("C:\\*.jpg"));
        for (size_t i = 0; i < captions.size(); ++i) {
            SCOPED_TRACE(captions[i]);
            EXPECT_EQ(Tile(static_cast<int>(i)),
                      ReferenceTile(FDrive->Root() + "/" + captions[i], tileWidth, tileHeight));
        }
    }
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// Many files, load failures before and after a decoding error in the middle:
// the failures before it get their message, the error is shown once, and
// nothing after it appears, though the workers had already reached it.
TEST_F(GalleryTest, DecodeErrorMidwayStopsAtItsTurn)
{
    constexpr int kFiles = 40;
    for (int i = 0; i < kFiles; ++i)
        CopyPicture(std::string("sizes/") + kPictures[i % std::size(kPictures)],
                    "many/f" + std::to_string(i) + ".jpg");
    const std::vector<AnsiString> order = SearchOrder("C:\\many\\*.jpg");
    ASSERT_EQ(order.size(), size_t{kFiles});
    // Rewriting a file in place keeps its place in the search order.
    auto replace = [&](size_t index, const char* source) {
        std::filesystem::copy_file(std::string(QUILLET_TEST_DATA "/jpeg/broken/") + source,
                                   FDrive->Root() + "/many/" + order[index],
                                   std::filesystem::copy_options::overwrite_existing);
    };
    replace(7, "not-a-jpeg.jpg");
    replace(20, "bad-huffman.jpg");
    replace(21, "not-a-jpeg.jpg");
    replace(23, "not-a-jpeg.jpg");
    FWindow->FCurrentPath = "C:\\many";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(FDialogs.errors, std::vector<AnsiString>{"JPEG error #8"});
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>{"C:\\many\\" + order[7]});
    EXPECT_EQ(Captions(), std::vector<AnsiString>(order.begin(), order.begin() + 20));
    EXPECT_EQ(FWindow->ImageList1->Count(), 20);
    EXPECT_TRUE(IsBlank(Tile(7)));
}

// A tile size changed while the scan waits (here in a message box, without a
// new scan) is the one the following tiles are drawn at; the pictures decoded
// ahead for the old size are decoded again on the workers, not on the
// window's thread.
TEST_F(GalleryTest, TileSizeChangedMidScanIsHonoured)
{
    for (int i = 0; i < 12; ++i)
        CopyPicture("sizes/pic_1600x1200.jpg",
                    std::string("p").append(std::to_string(i)).append(".jpg"));
    const std::vector<AnsiString> order = SearchOrder("C:\\*.jpg");
    std::filesystem::copy_file(std::string(QUILLET_TEST_DATA "/jpeg/broken/not-a-jpeg.jpg"),
                               FDrive->Root() + "/" + order[2],
                               std::filesystem::copy_options::overwrite_existing);
    ThumbWidth = 200;
    ThumbHeight = 200;
    FWindow->ImageList1->SetSize(300, 200);
    FDialogs.whileShown = [] {
        ThumbWidth = 300;
        ThumbHeight = 200;
    };
    FWindow->FCurrentPath = "C:\\";
    {
        const SlowDisk disk;
        Run([&] { FWindow->BuildThumbnails(); });
        EXPECT_EQ(disk.WindowThreadCalls(), 0);
    }
    ASSERT_EQ(Captions(), order);
    const QImage expected = ReferenceTile(FDrive->Root() + "/" + order[3], 300, 200);
    for (size_t i = 3; i < order.size(); ++i) EXPECT_EQ(Tile(static_cast<int>(i)), expected) << i;
    ThumbWidth = 200;
}
