// What the gallery's decode path must hold to: files that are not regular
// are refused without blocking, a decode holds one band of rows and the part
// of the rectangle it makes, never the whole picture, and it can be stopped
// and bounded.

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Jpeg.h"
#include "tests/jpeg/JpegTestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <jerror.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The file's bytes with its frame header claiming width x height pixels.
std::vector<unsigned char> claimingSize(const std::string& path, int width, int height)
{
    std::vector<unsigned char> bytes = readBytes(path);
    for (size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = static_cast<unsigned char>(height >> 8);
            bytes[i + 6] = static_cast<unsigned char>(height);
            bytes[i + 7] = static_cast<unsigned char>(width >> 8);
            bytes[i + 8] = static_cast<unsigned char>(width);
            return bytes;
        }
    return {};
}

// The frame marker of a JPEG file: 0xC0 baseline, 0xC2 progressive, ...
int frameMarker(const std::vector<unsigned char>& bytes)
{
    size_t i = 2;
    while (i + 4 <= bytes.size() && bytes[i] == 0xFF) {
        const int marker = bytes[i + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker;
        i += 2 + (size_t{bytes[i + 2]} << 8 | bytes[i + 3]);
    }
    return 0;
}

// Peak resident memory of this process, in kB.
long peakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

// A FIFO (which would block an open for ever) and links to devices are each
// refused as unloadable, without waiting and without their data.
TEST(JpegFiles, NonRegularFilesAreRefusedWithoutBlocking)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    ASSERT_EQ(0, mkfifo((root + "/cam.jpg").c_str(), 0644));
    std::vector<std::string> names{"cam.jpg"};
    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
        const std::string name = std::string(device + 5) + ".jpg";
        ASSERT_EQ(0, symlink(device, (root + "/" + name).c_str()));
        names.push_back(name);
    }
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0) {
        ASSERT_EQ(0, symlink(ptsname(terminal), (root + "/tty.jpg").c_str()));
        names.push_back("tty.jpg");
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TJPEGImage jpeg;
        EXPECT_THROW(jpeg.LoadFromFile(root + "/" + name), Exception);
        EXPECT_TRUE(jpeg.Empty());
    }
    if (terminal >= 0) close(terminal);
}

// The test picture is truly progressive (an earlier copy was the baseline
// file), and it renders into a tile as the baseline one does.
TEST(JpegProgressive, RendersLikeTheBaselinePicture)
{
    EXPECT_EQ(0xC2, frameMarker(readBytes(kData + "sizes/progressive_640x480.jpg")));
    EXPECT_EQ(0xC0, frameMarker(readBytes(kData + "sizes/pic_640x480.jpg")));
    TJPEGImage progressive, baseline;
    progressive.LoadFromFile(kData + "sizes/progressive_640x480.jpg");
    baseline.LoadFromFile(kData + "sizes/pic_640x480.jpg");
    const TRect rect = Rect(1, 25, 200, 175);
    const QImage a = progressive.Render(rect, QSize(200, 200));
    const QImage b = baseline.Render(rect, QSize(200, 200));
    ASSERT_EQ(a.size(), QSize(199, 150));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_LT(meanDifference(a, b), 3.0);
}

// A rectangle that overhangs the canvas is made only where it lies on it,
// and that part is exactly what the whole rectangle shows there.
TEST(JpegRender, OverhangingRectanglesMakeTheirVisiblePartOnly)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "sizes/pic_1200x1600.jpg");
    // Fitted to a 200 x 200 tile: 1, -33, 200, 233.
    const QImage part = jpeg.Render(Rect(1, -33, 200, 233), QSize(200, 200));
    ASSERT_EQ(part.size(), QSize(199, 200));
    const QImage whole = jpeg.Render(Rect(1, 0, 200, 266), QSize(200, 266));
    ASSERT_EQ(whole.size(), QSize(199, 266));
    EXPECT_EQ(part, whole.copy(0, 33, 199, 200));

    TBitmap bitmap;
    bitmap.SetWidth(200);
    bitmap.SetHeight(200);
    bitmap.Canvas()->StretchDraw(Rect(1, -33, 200, 233), &jpeg);
    EXPECT_EQ(bitmap.Image().copy(1, 0, 199, 200), part);
    EXPECT_EQ(bitmap.Image().pixel(0, 100), qRgb(255, 255, 255));
}

// A small file claiming 23000 x 23000 pixels decodes at 1/8 into 2875 x
// 2875 (33 MB as a whole image); made into a tile it costs a band of rows.
TEST(JpegRender, HugePicturesCostABandNotTheWholeImage)
{
    const std::vector<unsigned char> bytes =
        claimingSize(kData + "sizes/pic_640x480.jpg", 23000, 23000);
    ASSERT_FALSE(bytes.empty());
    const pid_t child = fork();
    if (child == 0) {
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(bytes);
        // Resets the peak to what is resident now.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = peakResidentKb();
        const QImage tile = jpeg.Render(Rect(1, 1, 200, 200), QSize(200, 200));
        const long grown = peakResidentKb() - before;
        std::fprintf(stderr, "peak grew by %ld kB\n", grown);
        _exit(before > 0 && tile.size() == QSize(199, 199) && grown < 24 * 1024 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A decode whose cancel flag is up stops at libjpeg's first progress report;
// one that would pass its memory bound fails before allocating.
TEST(JpegRender, DecodesStopWhenToldAndStayWithinTheirBound)
{
    TJPEGImage jpeg;
    jpeg.LoadFromFile(kData + "sizes/progressive_640x480.jpg");
    const TRect rect = Rect(1, 25, 200, 175);
    std::atomic<bool> stop{true};
    JpegDecodeLimits stopped;
    stopped.cancel = &stop;
    EXPECT_THROW(jpeg.Render(rect, QSize(200, 200), stopped), EJPEGStopped);
    stop = false;
    EXPECT_EQ(jpeg.Render(rect, QSize(200, 200), stopped).size(), QSize(199, 150));

    // Its coefficients alone take 640 x 480 x 1.5 x 2 bytes.
    JpegDecodeLimits small;
    small.maxMemory = 400 * 1024;
    try {
        jpeg.Render(rect, QSize(200, 200), small);
        ADD_FAILURE() << "no error";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Code(), JERR_NO_BACKING_STORE);
    }
    small.maxMemory = 100 * 1024;  // not even the tile and a band
    EXPECT_THROW(jpeg.Render(rect, QSize(200, 200), small), EJPEG);
    TJPEGImage baseline;
    baseline.LoadFromFile(kData + "sizes/pic_640x480.jpg");
    small.maxMemory = 400 * 1024;
    EXPECT_EQ(baseline.Render(rect, QSize(200, 200), small).size(), QSize(199, 150));
}
