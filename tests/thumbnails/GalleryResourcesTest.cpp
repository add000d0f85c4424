// What the gallery may take of the machine, whatever the user and the disk
// do: threads and descriptors under a storm of re-scans, the window's thread
// kept off the disk, reading within the decode's share of memory, and the
// control group's memory limit.

#include "tests/thumbnails/GalleryFixture.h"
#include "tests/thumbnails/SlowDisk.h"

#include "platform/toolkit/Edit.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/GalleryWorkers.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <jerror.h>

#include <filesystem>
#include <fstream>

namespace {

int entriesOf(const char* folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

}  // namespace

class GalleryResourcesTest : public GalleryTest {
protected:
    void TearDown() override
    {
        SetPhysicalMemoryForTesting(0);
        ThumbWidth = ThumbHeight = 200;
        GalleryTest::TearDown();
    }
};

// Two thousand re-scans, alternately from the gallery button and the apply
// button, each started from inside the previous one's message processing as
// the event loop nests them: every scan below the newest has let go of its
// folder and its workers, so descriptors and threads stay where one scan
// puts them. The newest scan fills the gallery whole.
TEST_F(GalleryResourcesTest, RescansHoldNoMoreThreadsOrDescriptorsThanOne)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) CopyPicture("sizes/pic_640x480.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->ToolButton1Click(nullptr); });  // the workers start
    const int descriptors = entriesOf("/proc/self/fd");
    const int threads = entriesOf("/proc/self/task");

    int left = 2000;
    int mostDescriptors = 0;
    int mostThreads = 0;
    int depth = 0;
    int deepest = 0;
    std::function<void()> rescan = [&] {
        if (left == 0) return;
        deepest = std::max(deepest, ++depth);
        const bool apply = --left % 2 == 1;
        mostDescriptors = std::max(mostDescriptors, entriesOf("/proc/self/fd"));
        mostThreads = std::max(mostThreads, entriesOf("/proc/self/task"));
        QTimer::singleShot(0, rescan);
        Run([&] {
            if (apply)
                FWindow->Button1Click(nullptr);
            else
                FWindow->ToolButton1Click(nullptr);
        });
        --depth;
    };
    QTimer::singleShot(0, rescan);
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    while (left > 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    EXPECT_EQ(deepest, 2000);
    EXPECT_LE(mostDescriptors, descriptors + 4);
    EXPECT_LE(mostThreads, threads + 2);
    EXPECT_EQ(Captions(), SearchOrder("C:\\*.jpg"));
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// No status, open or read of a scan, nor the count of the apply button, is
// made on the window's thread; the scan's tiles and messages are as ever.
TEST_F(GalleryResourcesTest, TheWindowsThreadNeverWaitsOnTheDisk)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        CopyPicture("sizes/pic_640x480.jpg", name);
    std::filesystem::create_directory(FDrive->Root() + "/folder.jpg");
    FWindow->FCurrentPath = "C:\\";
    const SlowDisk disk;
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    FWindow->EditPicWidth->SetText("300");
    Run([&] { FWindow->Button1Click(nullptr); });
    EXPECT_EQ(disk.WindowThreadCalls(), 0);
    EXPECT_GT(disk.OtherThreadCalls(), 0);
    EXPECT_EQ(ThumbWidth, 300);
    EXPECT_EQ(Captions(), SearchOrder("C:\\*.jpg"));
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>(2, AnsiString("C:\\\\folder.jpg")));
}

// While the folder's entries are slow to tell their status, the window
// handles its messages; the scan finishes once the disk answers.
TEST_F(GalleryResourcesTest, ASlowStatusKeepsTheWindowAnswering)
{
    for (const char* name : {"a.jpg", "b.jpg"}) CopyPicture("sizes/pic_200x200.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    SlowDisk disk;
    bool handledWhileHeld = false;
    disk.Hold(SlowDisk::Status, [&] {
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                handledWhileHeld = disk.Held() > 0;
                disk.Release();
            },
            Qt::QueuedConnection);
    });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(handledWhileHeld);
    EXPECT_EQ(Captions(), SearchOrder("C:\\*.jpg"));
}

// A file larger than its decode's share of memory is not read past its
// header (its decode fails for want of memory, as it always did); one
// within its share is read whole, a bounded piece at a time.
TEST_F(GalleryResourcesTest, FilesAreReadInPiecesAndNotPastTheDecodesShare)
{
    std::filesystem::path big = std::filesystem::path(FDrive->Root()) / "big.jpg";
    std::filesystem::copy_file(QUILLET_TEST_DATA "/jpeg/sizes/pic_640x480.jpg", big);
    std::ofstream(big, std::ios::app) << std::string(std::size_t{3} << 20, '\0');
    FWindow->FCurrentPath = "C:\\";
    {
        // Each decode may hold 1 MiB.
        SetPhysicalMemoryForTesting(qint64{4} * WorkerGroup::Workers() << 20);
        const SlowDisk disk;
        Run([&] { FWindow->ToolButton1Click(nullptr); });
        EXPECT_LE(disk.BytesRead(), qint64{1} << 20);
        EXPECT_EQ(FDialogs.errors,
                  std::vector<AnsiString>{Format("JPEG error #%d", JERR_OUT_OF_MEMORY)});
    }
    FDialogs.Clear();
    SetPhysicalMemoryForTesting(0);
    const SlowDisk disk;
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(disk.BytesRead(), static_cast<long long>(std::filesystem::file_size(big)));
    EXPECT_LE(disk.LargestRead(), qint64{1} << 20);
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_FALSE(IsBlank(Tile(0)));
}

// The limit of the process's own control group, version 2 or 1, from the
// group up to the root of the hierarchy; none gives 0.
TEST(GalleryMemory, ControlGroupLimitsAreFoundInBothVersions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path root = dir.path().toStdString();

    EXPECT_EQ(ControlGroupMemoryLimit(root), 0);

    // Version 2: the group itself is unlimited, its parent is not.
    writeFile(root / "proc/self/cgroup", "0::/user.slice/app.scope\n");
    writeFile(root / "sys/fs/cgroup/user.slice/app.scope/memory.max", "max\n");
    writeFile(root / "sys/fs/cgroup/user.slice/memory.max", "1073741824\n");
    EXPECT_EQ(ControlGroupMemoryLimit(root), qint64{1} << 30);
    writeFile(root / "sys/fs/cgroup/user.slice/app.scope/memory.max", "536870912\n");
    EXPECT_EQ(ControlGroupMemoryLimit(root), qint64{1} << 29);

    // Version 1 inside a container: the group's path is the host's, and only
    // the container's own folder is there, at the hierarchy's root.
    std::filesystem::remove_all(root / "sys");
    writeFile(root / "proc/self/cgroup",
              "7:cpu,cpuacct:/docker/4a1b\n5:memory:/docker/4a1b\n1:name=systemd:/docker/4a1b\n");
    writeFile(root / "sys/fs/cgroup/memory/memory.limit_in_bytes", "268435456\n");
    EXPECT_EQ(ControlGroupMemoryLimit(root), qint64{1} << 28);

    // Both at once (a hybrid hierarchy): the smaller counts.
    writeFile(root / "proc/self/cgroup", "5:memory:/\n0::/\n");
    writeFile(root / "sys/fs/cgroup/memory.max", "134217728\n");
    EXPECT_EQ(ControlGroupMemoryLimit(root), qint64{1} << 27);
}
