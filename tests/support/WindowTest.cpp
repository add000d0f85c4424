#include "tests/support/WindowTest.h"

#include "platform/shell/ShellDiagnostics.h"

void WindowTest::SetUp()
{
    FLiveBlocksAtStart = ShellDiagnostics::LiveBlocks();
    FDrive = std::make_unique<TempDrive>();
    FDialogs.Clear();
}

void WindowTest::CreateWindow()
{
    Application->CreateForm(frmQuillet);
    FWindow = frmQuillet;
}

void WindowTest::TearDown()
{
    // Faults a test injected must not stop the window from freeing its lists.
    ShellDiagnostics::Reset();
    delete FWindow;
    FWindow = nullptr;
    frmQuillet = nullptr;
    FDrive.reset();
    FDialogs.Clear();
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), FLiveBlocksAtStart) << "item id lists leaked";
}
