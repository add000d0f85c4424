// The tile-size panel: preview, edits and the apply button.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Panel.h"
#include "platform/toolkit/TrackBar.h"

namespace {

struct PreviewCase {
    bool widthBar;
    int position;
    int size;    // of the preview rectangle along the bar's side
    int margin;  // its left or top in the frame
};

}  // namespace

// Moving a bar sizes and centres the preview along its side and writes the
// edit; the other side stays as it was.
TEST_F(GalleryTest, TrackBarsSizeThePreview)
{
    TPanel* preview = FWindow->PicPalMain;
    EXPECT_EQ(preview->Left(), 65);
    EXPECT_EQ(preview->Width(), 80);
    const PreviewCase cases[] = {{true, 350, 140, 35}, {false, 500, 200, 5}, {true, 333, 133, 38},
                                 {false, 203, 81, 64}, {true, 201, 80, 65},  {false, 333, 133, 38}};
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.position);
        TTrackBar* bar = c.widthBar ? FWindow->TakBarWidth : FWindow->TakBarHeight;
        TEdit* edit = c.widthBar ? FWindow->EditPicWidth : FWindow->EditPicHeight;
        TEdit* otherEdit = c.widthBar ? FWindow->EditPicHeight : FWindow->EditPicWidth;
        const int otherSize = c.widthBar ? preview->Height() : preview->Width();
        const AnsiString otherText = otherEdit->GetText();
        bar->SetPosition(c.position);
        EXPECT_EQ(c.widthBar ? preview->Width() : preview->Height(), c.size);
        EXPECT_EQ(c.widthBar ? preview->Left() : preview->Top(), c.margin);
        EXPECT_EQ(edit->GetText(), IntToStr(c.position));
        EXPECT_EQ(c.widthBar ? preview->Height() : preview->Width(), otherSize);
        EXPECT_EQ(otherEdit->GetText(), otherText);
    }
}

// Typing changes nothing (preview, bars, tile size) until the apply button;
// applying 300 x 200 rebuilds the gallery, unseen, with tiles of that size,
// pictures fitted to the tile's height.
TEST_F(GalleryTest, ApplyRebuildsWithTheTypedSize)
{
    CopyPicture("sizes/pic_1600x1200.jpg", "a.jpg");
    FWindow->FCurrentPath = "C:\\";
    FWindow->EditPicWidth->SetText("300");
    FWindow->EditPicHeight->SetText("450");
    EXPECT_EQ(FWindow->PicPalMain->Width(), 80);
    EXPECT_EQ(FWindow->PicPalMain->Height(), 80);
    EXPECT_EQ(FWindow->TakBarHeight->Position(), 200);
    EXPECT_EQ(ThumbWidth, 200);
    EXPECT_EQ(ThumbHeight, 200);
    FWindow->EditPicHeight->SetText("200");
    Run([&] { FWindow->Button1->Click(); });
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_EQ(ThumbWidth, 300);
    EXPECT_EQ(ThumbHeight, 200);
    EXPECT_EQ(FWindow->ImageList1->Width(), 300);
    EXPECT_EQ(FWindow->ImageList1->Height(), 200);
    EXPECT_FALSE(FWindow->LstViewPicture->Visible());
    ASSERT_EQ(Captions(), std::vector<AnsiString>{"a.jpg"});
    const QImage tile = Tile(0);
    ASSERT_EQ(tile.size(), QSize(300, 200));
    // Fitted to 16, 1, 283, 200.
    EXPECT_EQ(tile.pixel(15, 100), qRgb(255, 255, 255));
    EXPECT_NE(tile.pixel(17, 100), qRgb(255, 255, 255));
    EXPECT_EQ(tile.pixel(150, 0), qRgb(255, 255, 255));
    EXPECT_NE(tile.pixel(150, 199), qRgb(255, 255, 255));
    EXPECT_EQ(tile.pixel(283, 100), qRgb(255, 255, 255));
    EXPECT_EQ(FWindow->TakBarWidth->Position(), 200);
}

// Texts that are no integer show the conversion error; sizes that cannot be
// tiles are reported. Either way the tile size, the image list and the
// gallery stay as they were.
TEST_F(GalleryTest, RejectedValuesChangeNothing)
{
    CopyPicture("sizes/pic_640x480.jpg", "a.jpg");
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    ASSERT_EQ(Captions().size(), 1u);

    struct Case {
        const char* width;
        const char* height;
        bool conversionError;
    };
    for (const Case& c : {Case{"abc", "300", true}, Case{"300", "4x", true},
                          Case{"0", "200", false}, Case{"-5", "200", false},
                          Case{"200", "100000", false}, Case{"100000", "100000", false}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        FDialogs.Clear();
        FWindow->EditPicWidth->SetText(c.width);
        FWindow->EditPicHeight->SetText(c.height);
        Run([&] { FWindow->Button1->Click(); });
        EXPECT_EQ(FDialogs.errors.size(), c.conversionError ? 1u : 0u);
        EXPECT_EQ(FDialogs.messages.size(), c.conversionError ? 0u : 1u);
        if (c.conversionError && !FDialogs.errors.empty()) {
            EXPECT_NE(FDialogs.errors[0].find("is not a valid integer value"), std::string::npos);
        }
        EXPECT_EQ(ThumbWidth, 200);
        EXPECT_EQ(ThumbHeight, 200);
        EXPECT_EQ(FWindow->ImageList1->Width(), 200);
        EXPECT_EQ(FWindow->ImageList1->Height(), 200);
        EXPECT_EQ(FWindow->ImageList1->Count(), 1);
        EXPECT_FALSE(IsBlank(Tile(0)));
    }
}
