// A close request that arrives while a large folder opens ends the open
// there: the program does not first finish the folder it will never show. A
// program of its own: the application stays terminated afterwards.

#include "tests/shell/MainWindowFixture.h"

#include <QTimer>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int kEntries = 40000;

class LargeOpenTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFile("here.txt");
        drive.AddFolder("large");
        for (int i = 0; i < kEntries; ++i) {
            const std::string path = drive.Root() + "/large/f" + std::to_string(i);
            const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            ASSERT_GE(fd, 0);
            close(fd);
        }
    }
};

}  // namespace

TEST_F(LargeOpenTest, ACloseDuringTheOpenEndsIt)
{
    Run([&] { FWindow->OpenFolderPath(DrivePath("")); });
    const std::vector<AnsiString> before = RowNames();
    // Queued before the open starts: it is handled as soon as the open looks
    // at the window's messages.
    QTimer::singleShot(0, [this] { FWindow->Close(); });
    Run([&] { FWindow->OpenFolderPath(DrivePath("large")); });
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_EQ(RowNames(), before);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath(""));
    EXPECT_EQ(Screen->Cursor(), crDefault);
}
