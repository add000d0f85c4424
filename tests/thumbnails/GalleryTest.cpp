// The gallery scan over real folders on a temporary drive C:.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/ImageList.h"
#include "thumbnails/TileFit.h"

#include <QTimer>

#include <algorithm>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

struct SizedPicture {
    const char* file;
    int width;
    int height;
};

const SizedPicture kSizes[] = {
    {"pic_1600x1200.jpg", 1600, 1200}, {"pic_1200x1600.jpg", 1200, 1600},
    {"pic_640x480.jpg", 640, 480},     {"pic_1024x768.jpg", 1024, 768},
    {"pic_200x200.jpg", 200, 200},     {"pic_150x300.jpg", 150, 300},
    {"pic_100x80.jpg", 100, 80},       {"cmyk_800x600.jpg", 800, 600},
};

}  // namespace

// Every tile shows its picture inside the fitted rectangle and the blank fill
// outside it, at square, wide and tall tile sizes.
TEST_F(GalleryTest, PicturesFillExactlyTheirRectangles)
{
    for (const SizedPicture& picture : kSizes)
        CopyPicture(std::string("sizes/") + picture.file, std::string("sizes/") + picture.file);
    FWindow->FCurrentPath = "C:\\sizes";

    for (const auto& [tileWidth, tileHeight] : {std::pair{200, 200}, {300, 200}, {200, 300}}) {
        SCOPED_TRACE(testing::Message() << tileWidth << "x" << tileHeight);
        ThumbWidth = tileWidth;
        ThumbHeight = tileHeight;
        FWindow->ImageList1->SetSize(tileWidth, tileHeight);
        Run([&] { FWindow->BuildThumbnails(); });
        EXPECT_TRUE(FDialogs.errors.empty());
        EXPECT_TRUE(FDialogs.messages.empty());

        const std::vector<AnsiString> captions = Captions();
        ASSERT_EQ(captions.size(), std::size(kSizes));
        for (size_t i = 0; i < captions.size(); ++i) {
            const auto* picture =
                std::find_if(std::begin(kSizes), std::end(kSizes),
                             [&](const SizedPicture& p) { return captions[i] == p.file; });
            ASSERT_NE(picture, std::end(kSizes));
            SCOPED_TRACE(picture->file);
            const QImage tile = Tile(static_cast<int>(i));
            ASSERT_EQ(tile.size(), QSize(tileWidth, tileHeight));
            const TRect r = *FitPictureInTile(float(picture->width), float(picture->height),
                                              tileWidth, tileHeight);
            const QRect inside = QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1))
                                     .intersected(tile.rect());
            EXPECT_NE(tile.pixel(inside.center()), kWhite);
            EXPECT_NE(tile.pixel(inside.topLeft() + QPoint(2, 2)), kWhite);
            EXPECT_NE(tile.pixel(inside.bottomRight() - QPoint(2, 2)), kWhite);
            const int midX = inside.center().x(), midY = inside.center().y();
            for (const QPoint outside : {QPoint(r.Left - 1, midY), QPoint(r.Right, midY),
                                         QPoint(midX, r.Top - 1), QPoint(midX, r.Bottom)})
                if (tile.rect().contains(outside)) {
                    EXPECT_EQ(tile.pixel(outside), kWhite) << outside.x() << "," << outside.y();
                }
        }
    }
}

// What the search finds, in its order: hidden and upper-case names included;
// entries that cannot be loaded get their full path in a message and a blank
// tile; an empty file a blank tile and no message. The drive root's path
// ends in a backslash and is joined with another one.
TEST_F(GalleryTest, ScanFollowsTheSearchAndSurvivesBadEntries)
{
    CopyPicture("sizes/pic_200x200.jpg", "b.jpg");
    CopyPicture("sizes/pic_100x80.jpg", ".hidden.jpg");
    CopyPicture("sizes/pic_640x480.jpg", "UPPER.JPG");
    CopyPicture("broken/not-a-jpeg.jpg", "not-a-jpeg.jpg");
    CopyPicture("broken/empty.jpg", "empty.jpg");
    CopyPicture("broken/truncated.jpg", "truncated.jpg");
    CopyPicture("sizes/pic_200x200.jpg", "photo.jpeg");
    FDrive->AddFolder("x.jpg");
    FDrive->AddFile("notes.txt", 10);
    FWindow->FCurrentPath = "C:\\";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(FWindow->LstViewPicture->Visible());
    EXPECT_TRUE(FDialogs.errors.empty());

    const std::vector<AnsiString> expected = SearchOrder("C:\\*.jpg");
    ASSERT_EQ(expected.size(), 7u);
    EXPECT_EQ(Captions(), expected);
    std::vector<AnsiString> failing;
    for (const AnsiString& name : expected)
        if (name == "x.jpg" || name == "not-a-jpeg.jpg") failing.push_back("C:\\\\" + name);
    EXPECT_EQ(FDialogs.messages, failing);

    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i]);
        const bool blank =
            expected[i] == "x.jpg" || expected[i] == "not-a-jpeg.jpg" || expected[i] == "empty.jpg";
        EXPECT_EQ(IsBlank(Tile(static_cast<int>(i))), blank);
        EXPECT_EQ(FWindow->LstViewPicture->Items()->GetItem(static_cast<int>(i))->ImageIndex,
                  static_cast<int>(i));
    }
}

// A decoding error ends the scan and reaches the error display once; the
// tiles before it stay.
TEST_F(GalleryTest, DecodeErrorEndsTheScanKeepingEarlierTiles)
{
    for (const char* name : {"a.jpg", "c.jpg", "d.jpg", "e.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", std::string("pics/") + name);
    CopyPicture("broken/bad-huffman.jpg", "pics/bad-huffman.jpg");
    FWindow->FCurrentPath = "C:\\pics";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(FDialogs.errors, std::vector<AnsiString>{"JPEG error #8"});
    const std::vector<AnsiString> order = SearchOrder("C:\\pics\\*.jpg");
    const auto bad = std::find(order.begin(), order.end(), "bad-huffman.jpg");
    EXPECT_EQ(Captions(), std::vector<AnsiString>(order.begin(), bad));
    EXPECT_EQ(FWindow->ImageList1->Count(), static_cast<int>(bad - order.begin()));
}

// The drives folder is no directory: an empty gallery, nothing reported.
// An earlier gallery is emptied by it.
TEST_F(GalleryTest, DrivesFolderGivesAnEmptyGallery)
{
    CopyPicture("sizes/pic_200x200.jpg", "a.jpg");
    const AnsiString drives = FWindow->FCurrentPath;
    ASSERT_EQ(drives.rfind("::{", 0), 0u);
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    ASSERT_EQ(Captions().size(), 1u);

    FWindow->FCurrentPath = drives;
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(Captions().empty());
    EXPECT_EQ(FWindow->ImageList1->Count(), 0);
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A scan started while another lets messages through (a load-error box, or
// the processing after a file) supersedes it: the gallery ends up holding
// exactly the newer scan's tiles.
TEST_F(GalleryTest, NewerScanSupersedesTheInterruptedOne)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", std::string("one/") + name);
    CopyPicture("broken/not-a-jpeg.jpg", "one/broken.jpg");
    for (const char* name : {"p.jpg", "q.jpg"})
        CopyPicture("sizes/pic_100x80.jpg", std::string("two/") + name);
    const std::vector<AnsiString> second = SearchOrder("C:\\two\\*.jpg");

    auto startSecond = [this] {
        FWindow->FCurrentPath = "C:\\two";
        Run([&] { FWindow->BuildThumbnails(); });
    };
    for (const bool fromMessageBox : {true, false}) {
        SCOPED_TRACE(fromMessageBox ? "from the message box" : "from a posted event");
        FDialogs.Clear();
        FWindow->FCurrentPath = "C:\\one";
        if (fromMessageBox)
            FDialogs.whileShown = startSecond;
        else
            QTimer::singleShot(0, startSecond);
        Run([&] { FWindow->BuildThumbnails(); });
        EXPECT_EQ(Captions(), second);
        EXPECT_EQ(FWindow->ImageList1->Count(), 2);
        EXPECT_TRUE(FDialogs.errors.empty());
    }
}
