// Closing the main window while a worker is stuck in a read of a picture (a
// slow network or removable disk) ends the scan at once: nothing waits for
// the read, which is left behind and finds nobody to hand its picture to
// when it returns. A program of its own: the application stays terminated.

#include "tests/thumbnails/GalleryFixture.h"
#include "tests/thumbnails/SlowDisk.h"

#include <QCoreApplication>

TEST_F(GalleryTest, ClosingDoesNotWaitForAStuckRead)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) CopyPicture("sizes/pic_640x480.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    FWindow->Show();
    SlowDisk disk;
    disk.Hold(SlowDisk::Read, [this] {
        QMetaObject::invokeMethod(
            qApp, [this] { FWindow->Close(); }, Qt::QueuedConnection);
    });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(disk.Held(), 1);  // the read is still stuck, and the scan is over
    EXPECT_TRUE(Captions().empty());
    disk.Release();
    disk.WaitIdle();
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_TRUE(FDialogs.messages.empty());
}
