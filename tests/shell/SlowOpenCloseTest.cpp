// Opening a folder whose entries are slow to stat: meanwhile the window keeps
// answering, with the hourglass, and a close ends the program at once with
// the open folder as it was. A program of its own: the application stays
// terminated afterwards.

#include "tests/shell/MainWindowFixture.h"

#include "platform/shell/ShellDiagnostics.h"

#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

// A disk on which every stat hangs until the test lets it go, as on a network
// share that stopped answering.
class HangingStat {
public:
    HangingStat()
    {
        ShellDiagnostics::SetStatHook([state = FState](const char*) {
            ++state->calls;
            while (!state->released) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        });
    }
    ~HangingStat()
    {
        FState->released = true;
        ShellDiagnostics::SetStatHook(nullptr);
    }
    HangingStat(const HangingStat&) = delete;
    HangingStat& operator=(const HangingStat&) = delete;
    int Calls() const { return FState->calls; }

private:
    struct State {
        std::atomic<int> calls{0};
        std::atomic<bool> released{false};
    };
    std::shared_ptr<State> FState = std::make_shared<State>();
};

class SlowOpenTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFile("here.txt");
        drive.AddFolder("share/inner");
        drive.AddFile("share/a.jpg");
        // A link is stat'ed to learn whether it names a folder.
        std::filesystem::create_directory_symlink(drive.Root() + "/share/inner",
                                                  drive.Root() + "/share/link");
    }
};

}  // namespace

TEST_F(SlowOpenTest, TheWindowAnswersWhileAStatHangsAndACloseEndsTheOpen)
{
    Run([&] { FWindow->OpenFolderPath(DrivePath("")); });
    const std::vector<AnsiString> before = RowNames();
    ASSERT_EQ(before, (std::vector<AnsiString>{"share", "here.txt"}));
    const HangingStat disk;
    // Once the stat hangs, the window is looked at and closed, as a person
    // would close it.
    bool answered = false;
    TCursor cursor = crDefault;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (answered || disk.Calls() == 0) return;
        answered = true;
        cursor = Screen->Cursor();
        FWindow->Close();
    });
    poll.start();
    Run([&] { FWindow->OpenFolderPath(DrivePath("share")); });
    poll.stop();
    EXPECT_TRUE(answered);
    EXPECT_EQ(cursor, crHourGlass);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // The open ended silently and changed nothing.
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_EQ(RowNames(), before);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath(""));
}
