// The navigation commands through the real window: the picker, the path box,
// the file list's double-click and keys, and Up One Level.

#include "tests/shell/MainWindowFixture.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ShellDiagnostics.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/ToolBar.h"

#include <QTest>

namespace {

class NavigationTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFolder("Photos/2024");
        drive.AddFile("Photos/beach.jpg");
        drive.AddFile("readme.txt");
    }

    int RowOf(const AnsiString& name) const
    {
        const auto names = RowNames();
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? -1 : static_cast<int>(at - names.begin());
    }

    // Enter in the path box as the key handler sees it; answers the key after.
    WORD PressEnterInPathBox(const AnsiString& text)
    {
        FWindow->cmbxPath->SetText(text);
        WORD key = VK_RETURN;
        Run([&] { FWindow->cmbxPathKeyDown(FWindow->cmbxPath, key, 0); });
        return key;
    }
};

}  // namespace

// At the top of the namespace, Up and Backspace do nothing and say nothing.
TEST_F(NavigationTest, UpOnTheDrivesFolderDoesNothing)
{
    FWindow->tlbtnUpOneLevel->Click();
    WORD key = VK_BACK;
    FWindow->lstvwVirtualListKeyDown(FWindow->lstvwVirtualList, key, ssShift);
    EXPECT_EQ(key, VK_BACK);
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(History().size(), 1u);
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_TRUE(FDialogs.messages.empty());
}

// From a drive root, Up opens the drives folder and selects its entry.
TEST_F(NavigationTest, UpFromDriveRootSelectsExistingEntry)
{
    FWindow->OpenFolderPath("C:\\");
    ASSERT_EQ(History().size(), 2u);
    FWindow->tlbtnUpOneLevel->Click();
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(FWindow->cmbxPath->GetItemIndex(), 1);

    FWindow->OpenFolderPath(DrivePath("Photos/2024"));
    WORD key = VK_BACK;
    FWindow->lstvwVirtualListKeyDown(FWindow->lstvwVirtualList, key, ssShift | ssCtrl);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
}

// Double-click and Enter open folder rows only; files and no selection do nothing.
TEST_F(NavigationTest, OpenRowsByDoubleClickAndEnter)
{
    FWindow->OpenFolderPath("C:\\");
    SelectRow(RowOf("readme.txt"));
    FWindow->lstvwVirtualListDblClick(nullptr);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");

    SelectRow(-1);
    WORD key = VK_RETURN;
    FWindow->lstvwVirtualListKeyDown(nullptr, key, 0);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(key, VK_RETURN);

    SelectRow(RowOf("readme.txt"));
    Run([&] { FWindow->lstvwVirtualListKeyDown(nullptr, key, 0); });
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(SelectedRow(), RowOf("readme.txt"));
    EXPECT_EQ(History().size(), 2u);
    EXPECT_TRUE(FDialogs.errors.empty());

    SelectRow(RowOf("Photos"));
    FWindow->lstvwVirtualListDblClick(nullptr);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));

    SelectRow(RowOf("2024"));
    FWindow->lstvwVirtualListKeyDown(nullptr, key, 0);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos/2024"));
    EXPECT_EQ(key, VK_RETURN);  // never consumed
}

// A drive designator and Enter opens the root and consumes the key.
TEST_F(NavigationTest, DriveDesignatorOpensTheRoot)
{
    EXPECT_EQ(PressEnterInPathBox("C:"), 0);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(FWindow->cmbxPath->GetText(), "C:\\");
    EXPECT_EQ(History().front(), "C:\\");
}

// A missing drive: one message; the typed text keeps its added backslash.
TEST_F(NavigationTest, MissingDriveKeepsTheText)
{
    EXPECT_EQ(PressEnterInPathBox("Q:"), VK_RETURN);
    EXPECT_EQ(FDialogs.errors.size(), 1u);
    EXPECT_EQ(FWindow->cmbxPath->GetText(), "Q:\\");
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(History().size(), 1u);
}

// Other typed paths open as they stand, POSIX ones included; an empty box
// lets Enter pass.
TEST_F(NavigationTest, TypedPathsOpen)
{
    EXPECT_EQ(PressEnterInPathBox(DrivePath("Photos")), 0);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
    EXPECT_EQ(PressEnterInPathBox(FDrive->Root() + "/Photos/2024"), 0);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos/2024"));
    EXPECT_EQ(PressEnterInPathBox(""), VK_RETURN);
    EXPECT_EQ(PressEnterInPathBox(DrivePath("nothing here")), VK_RETURN);
    EXPECT_EQ(FWindow->cmbxPath->GetText(), DrivePath("nothing here"));
    EXPECT_EQ(FDialogs.errors.size(), 1u);
}

// Enter typed into the real path box reaches the handler and is consumed.
TEST_F(NavigationTest, EnterTypedIntoThePathBox)
{
    FWindow->cmbxPath->SetText("C:");
    QTest::keyClick(FWindow->cmbxPath->Widget(), Qt::Key_Return);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
}

// A history entry opens with the list it holds.
TEST_F(NavigationTest, HistoryEntryOpensItsList)
{
    FWindow->OpenFolderPath(DrivePath("Photos"));
    FWindow->OpenFolderPath("C:\\");
    auto* entryList = FWindow->cmbxPath->Items()->GetObject(1);
    FWindow->cmbxPath->SetItemIndex(1);
    FWindow->cmbxPathClick(FWindow->cmbxPath);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
    EXPECT_EQ(FWindow->FCurrentId, entryList);

    // A text not in the history is opened as a path.
    FWindow->cmbxPath->SetText(DrivePath("Photos/2024"));
    FWindow->cmbxPathClick(FWindow->cmbxPath);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos/2024"));
}

// The picker: a cancel changes nothing; a choice opens that folder.
TEST_F(NavigationTest, FolderPicker)
{
    FDialogs.pickerAnswers.push_back(std::nullopt);
    FWindow->tlbtnBrowse->Click();
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(History().size(), 1u);
    ASSERT_EQ(FDialogs.pickerCaptions.size(), 1u);
    EXPECT_EQ(FDialogs.pickerCaptions[0], "Select Directory");

    FDialogs.pickerAnswers.push_back(DrivePath("Photos"));
    FWindow->tlbtnBrowse->Click();
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
    // Both times the picker starts at the namespace's root: an empty root.
    EXPECT_EQ(FDialogs.pickerRoots, (std::vector<AnsiString>{"", ""}));
}

// Without memory for the copy, Up One Level does nothing.
TEST_F(NavigationTest, UpWithoutMemoryDoesNothing)
{
    FWindow->OpenFolderPath(DrivePath("Photos"));
    ShellDiagnostics::FailAlloc(true);
    FWindow->tlbtnUpOneLevelClick(nullptr);
    ShellDiagnostics::FailAlloc(false);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
}

// A double click on a folder when memory for the joined list runs out opens
// nothing and says nothing; the open folder, its rows and the history stay,
// and no list is lost.
TEST_F(NavigationTest, DoubleClickWithoutMemoryForTheJoinedListDoesNothing)
{
    FWindow->OpenFolderPath("C:\\");
    const std::vector<AnsiString> rows = RowNames();
    const std::vector<AnsiString> history = History();
    SelectRow(RowOf("Photos"));
    const long blocks = ShellDiagnostics::LiveBlocks();
    ShellDiagnostics::FailAlloc(true);
    Run([&] { FWindow->lstvwVirtualListDblClick(nullptr); });
    WORD key = VK_RETURN;
    Run([&] { FWindow->lstvwVirtualListKeyDown(nullptr, key, 0); });
    ShellDiagnostics::FailAlloc(false);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(RowNames(), rows);
    EXPECT_EQ(History(), history);
    EXPECT_EQ(SelectedRow(), RowOf("Photos"));
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_TRUE(FDialogs.messages.empty());

    // With memory again the same click opens the folder.
    Run([&] { FWindow->lstvwVirtualListDblClick(nullptr); });
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
}
