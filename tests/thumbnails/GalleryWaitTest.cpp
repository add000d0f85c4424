// The window never waits for a decode: the scan lets messages through while
// a picture is still being decoded, the first included, and a decode that is
// no longer needed is stopped rather than waited for.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/Jpeg.h"
#include "thumbnails/ThumbnailDecoder.h"

#include <QFile>
#include <QTimer>

#include <future>

namespace {

// Writes pic_640x480.jpg claiming side x side pixels to path: a small file
// whose decode takes a while (at 1/8, (side / 8)^2 pixels).
void WriteHugeHeader(const std::string& path, int side)
{
    QFile source(QUILLET_TEST_DATA "/jpeg/sizes/pic_640x480.jpg");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    const int sof = bytes.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    for (const int at : {sof + 5, sof + 7}) {
        bytes[at] = static_cast<char>(side >> 8);
        bytes[at + 1] = static_cast<char>(side & 0xFF);
    }
    QFile target(QString::fromStdString(path));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(bytes);
}

}  // namespace

// An event posted before the scan is handled while the first picture is
// still being decoded, before its tile arrives.
TEST_F(GalleryTest, TheFirstTileArrivesWhileMessagesAreProcessed)
{
    WriteHugeHeader(FDrive->Root() + "/huge.jpg", 23000);
    CopyPicture("sizes/pic_200x200.jpg", "small.jpg");
    FWindow->FCurrentPath = "C:\\";
    int tilesWhenHandled = -1;
    QTimer::singleShot(0, [&] { tilesWhenHandled = static_cast<int>(Captions().size()); });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(tilesWhenHandled, 0);
    EXPECT_EQ(Captions().size(), 2u);
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A decode under way when its scan is superseded stops where it is: its
// result is the stop, not a finished tile.
TEST(ThumbnailDecoder, StoppedDecodesDoNotRunToTheirEnd)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.path().toStdString() + "/huge.jpg";
    WriteHugeHeader(path, 23000);
    ThumbnailDecoder decoder(200, 200);
    decoder.Request(path);
    decoder.Stop();
    DecodedThumbnail result;
    try {
        result = decoder.TakeNext();
    } catch (const std::future_error&) {
        return;  // dropped before it began: stopped all the same
    }
    ASSERT_TRUE(result.drawError);
    EXPECT_THROW(std::rethrow_exception(result.drawError), EJPEGStopped);
}
