// Closing the main window while a scan lets messages through ends the scan at
// once. A program of its own: the application stays terminated afterwards.

#include "tests/thumbnails/GalleryFixture.h"

#include <QTimer>

TEST_F(GalleryTest, ClosingTheWindowStopsTheScan)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) CopyPicture("sizes/pic_200x200.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    FWindow->Show();
    QTimer::singleShot(0, [this] { FWindow->Close(); });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(Application->Terminated());
    // The close is handled while the first picture is awaited or after its tile.
    EXPECT_LE(Captions().size(), 1u);
    EXPECT_TRUE(FDialogs.errors.empty());
}
