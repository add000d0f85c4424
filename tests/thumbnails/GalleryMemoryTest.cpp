// The gallery's memory bounds, reached with a few pictures by standing in a
// small physical memory: kept tiles, and decodes in flight.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ImageList.h"
#include "thumbnails/GalleryMemory.h"

#include <QThread>

#include <jerror.h>

#include <algorithm>

class GalleryMemoryTest : public GalleryTest {
protected:
    void TearDown() override
    {
        SetPhysicalMemoryForTesting(0);
        ThumbWidth = ThumbHeight = 200;
        GalleryTest::TearDown();
    }
    // Physical memory whose bound holds tiles tiles of width x height, and
    // half a tile more.
    static void BoundAt(double tiles, int width, int height)
    {
        SetPhysicalMemoryForTesting(static_cast<qint64>(4 * tiles * TileBytes(width, height)));
    }
};

// The apply button reports a tile size whose gallery would pass the bound,
// before anything changes: tile size, image list and gallery stay.
TEST_F(GalleryMemoryTest, ApplyReportsAGalleryThatWouldPassTheBound)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->BuildThumbnails(); });
    ASSERT_EQ(Captions().size(), 4u);
    BoundAt(3.5, 1000, 1000);
    FWindow->EditPicWidth->SetText("1000");
    FWindow->EditPicHeight->SetText("1000");

    Run([&] { FWindow->Button1Click(nullptr); });
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>{GalleryTooLargeMessage(4, 1000, 1000)});
    EXPECT_EQ(ThumbWidth, 200);
    EXPECT_EQ(ThumbHeight, 200);
    EXPECT_EQ(FWindow->ImageList1->Width(), 200);
    EXPECT_EQ(FWindow->ImageList1->Count(), 4);
    EXPECT_EQ(Captions().size(), 4u);

    // A size whose gallery fits is applied.
    FDialogs.Clear();
    FWindow->EditPicWidth->SetText("900");
    FWindow->EditPicHeight->SetText("900");
    Run([&] { FWindow->Button1Click(nullptr); });
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_EQ(ThumbWidth, 900);
    EXPECT_EQ(FWindow->ImageList1->Count(), 4);
}

// A scan that reaches the bound (the folder grew since the size was applied)
// stops adding tiles, with one message.
TEST_F(GalleryMemoryTest, AScanStopsAtTheBoundWithOneMessage)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", name);
    ThumbWidth = ThumbHeight = 1000;
    FWindow->ImageList1->SetSize(1000, 1000);
    BoundAt(3.5, 1000, 1000);
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->BuildThumbnails(); });
    const std::vector<AnsiString> order = SearchOrder("C:\\*.jpg");
    EXPECT_EQ(Captions(), std::vector<AnsiString>(order.begin(), order.begin() + 3));
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>{GalleryStopsMessage(3, 1000, 1000)});
    EXPECT_TRUE(FDialogs.errors.empty());
}

// The decodes in flight share as much again: a progressive picture, which
// keeps all its coefficients (about 900 kB here), cannot be decoded within
// 400 kB a decode, and fails as a decoding error does; a baseline one can.
TEST_F(GalleryMemoryTest, DecodesInFlightStayWithinTheirBound)
{
    CopyPicture("sizes/pic_640x480.jpg", "baseline.jpg");
    CopyPicture("sizes/progressive_640x480.jpg", "progressive.jpg");
    const int workers = std::max(1, QThread::idealThreadCount());
    SetPhysicalMemoryForTesting(qint64{4} * workers * 400 * 1024);
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->BuildThumbnails(); });
    const std::vector<AnsiString> order = SearchOrder("C:\\*.jpg");
    const auto progressive = std::find(order.begin(), order.end(), "progressive.jpg");
    EXPECT_EQ(FDialogs.errors,
              std::vector<AnsiString>{Format("JPEG error #%d", JERR_NO_BACKING_STORE)});
    EXPECT_EQ(Captions(), std::vector<AnsiString>(order.begin(), progressive));
}
