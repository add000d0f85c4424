// The gallery as a screen reader reads it: a list of its tiles, each named
// by its caption and showing its picture at the tile's size, told as the
// scan adds them.

#include "tests/support/AccessibleEvents.h"
#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/ImageList.h"

#include <QAbstractItemView>
#include <QAccessible>

TEST_F(GalleryTest, ReadersGetTheTilesWithTheirPictures)
{
    for (const char* file : {"pic_640x480.jpg", "pic_150x300.jpg", "pic_100x80.jpg"})
        CopyPicture(std::string("sizes/") + file, std::string("sizes/") + file);
    FWindow->FCurrentPath = "C:\\sizes";
    ThumbWidth = 240;
    ThumbHeight = 160;
    FWindow->ImageList1->SetSize(ThumbWidth, ThumbHeight);
    FWindow->LstViewPicture->SetVisible(true);
    FWindow->Show();

    AccessibleEvents events;
    Run([&] { FWindow->BuildThumbnails(); });
    const std::vector<AnsiString> captions = Captions();
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(events.OfType(QAccessible::ObjectCreated).size(), 3u) << "tiles not told as added";

    QAccessibleInterface* gallery =
        QAccessible::queryAccessibleInterface(FWindow->LstViewPicture->ActiveView());
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(gallery->role(), QAccessible::List);
    EXPECT_EQ(gallery->text(QAccessible::Name), "縮圖");
    ASSERT_EQ(gallery->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* tile = gallery->child(i);
        EXPECT_EQ(tile->role(), QAccessible::ListItem);
        EXPECT_EQ(tile->text(QAccessible::Name).toStdString(), captions[static_cast<size_t>(i)]);
        ASSERT_EQ(tile->childCount(), 1);
        QAccessibleInterface* picture = tile->child(0);
        EXPECT_EQ(picture->role(), QAccessible::Graphic);
        ASSERT_NE(picture->imageInterface(), nullptr);
        EXPECT_EQ(picture->imageInterface()->imageSize(), QSize(240, 160));
    }
}
