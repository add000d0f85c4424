// Start-up, view styles, opening folders and the path history, through a real
// main window on the offscreen platform over real temporary folders.

#include "tests/shell/MainWindowFixture.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ShellDiagnostics.h"
#include "platform/toolkit/CheckBox.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/RadioButton.h"
#include "platform/toolkit/ToolBar.h"
#include "shell/IdList.h"
#include "slideshow/Playoptionset.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTest>

#include <unistd.h>

namespace {

class StartUpTest : public MainWindowTest {};

class FolderTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFile("pics/img10.jpg");
        drive.AddFile("pics/img2.jpg");
        drive.AddFile("pics/Img1.jpg");
        drive.AddFile("pics/.hidden");
        drive.AddFolder("pics/zeta");
        drive.AddFolder("pics/Alpha");
        drive.AddFolder("empty");
        drive.AddFolder("EMPTY");
        drive.AddFile("plain.txt");
        symlink((drive.Root() + "/pics").c_str(), (drive.Root() + "/link").c_str());
        drive.AddFile(std::string("odd/caf\xE9.txt"));  // Latin-1 bytes, not UTF-8
    }
};

// A folder of more rows than the list shows at once.
class LongFolderTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        for (int i = 0; i < 1000; ++i) drive.AddFile("long/file " + std::to_string(i) + ".txt");
        drive.AddFile("other/a.txt");
    }
};

}  // namespace

// After start-up the drives folder is open in the report view, its parsing
// name selected whole in the focused path box, one history entry.
TEST_F(StartUpTest, OpensTheDrivesFolder)
{
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(RowCount(), FWindow->FShellItems->GetCount());
    EXPECT_EQ(RowCount(), 1);  // only drive C: is mapped
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), vsReport);
    EXPECT_FALSE(FWindow->LstViewPicture->Visible());
    EXPECT_TRUE(FWindow->tlbtnReport->Down());
    EXPECT_FALSE(FWindow->tlbtnLargeIcons->Down());
    EXPECT_FALSE(FWindow->tlbtnSmallIcons->Down());
    EXPECT_FALSE(FWindow->tlbtnList->Down());
    EXPECT_EQ(FWindow->cmbxPath->GetText(), kDrivesFolder);
    EXPECT_EQ(FWindow->cmbxPath->GetSelStart(), 0);
    EXPECT_EQ(FWindow->cmbxPath->GetSelLength(), static_cast<int>(kDrivesFolder.size()));
    EXPECT_EQ(History(), std::vector<AnsiString>{kDrivesFolder});
    EXPECT_EQ(FWindow->cmbxPath->Items()->GetObject(0), FWindow->FCurrentId);
    EXPECT_EQ(ThumbWidth, 200);
    EXPECT_EQ(ThumbHeight, 200);
    QTRY_VERIFY(FWindow->cmbxPath->Focused());
}

// The pop-up entries press their button, then set the style; every view
// command hides the gallery.
TEST_F(StartUpTest, ViewStyleCommands)
{
    FWindow->SmallIcons1->Click();
    EXPECT_TRUE(FWindow->tlbtnSmallIcons->Down());
    EXPECT_FALSE(FWindow->tlbtnReport->Down());
    EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), vsSmallIcon);

    const struct {
        TMenuItem* entry;
        TToolButton* button;
        TViewStyle style;
    } entries[] = {{FWindow->LargeIcons1, FWindow->tlbtnLargeIcons, vsIcon},
                   {FWindow->ListView1, FWindow->tlbtnList, vsList},
                   {FWindow->ReportView1, FWindow->tlbtnReport, vsReport}};
    for (const auto& row : entries) {
        FWindow->LstViewPicture->SetVisible(true);
        row.entry->Click();
        EXPECT_TRUE(row.button->Down());
        EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), row.style);
        EXPECT_FALSE(FWindow->LstViewPicture->Visible());
    }

    // The button already down sets its style again and hides the gallery.
    FWindow->LstViewPicture->SetVisible(true);
    FWindow->tlbtnReport->Click();
    EXPECT_TRUE(FWindow->tlbtnReport->Down());
    EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), vsReport);
    EXPECT_FALSE(FWindow->LstViewPicture->Visible());
}

// The second tool button has no command: a click changes nothing and says
// nothing. (The separator beside it takes no clicks at all.)
TEST_F(StartUpTest, ToolButton2DoesNothing)
{
    FWindow->tlbtnList->Click();
    FWindow->ToolButton2->Click();
    EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), vsList);
    EXPECT_TRUE(FWindow->tlbtnList->Down());
    EXPECT_FALSE(FWindow->tlbtnReport->Down());
    EXPECT_FALSE(FWindow->LstViewPicture->Visible());
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(History().size(), 1u);
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// Each click of the slideshow command shows a new options window of its own;
// the ones shown before stay as they are.
TEST_F(StartUpTest, EachSlideshowClickShowsANewOptionsWindow)
{
    std::vector<TPlayOption*> shown;
    for (int click = 0; click < 3; ++click) {
        FWindow->ToolButton3->Click();
        std::vector<TPlayOption*> now;
        for (int i = 0; i < Application->ComponentCount(); ++i)
            if (auto* options = dynamic_cast<TPlayOption*>(Application->Components(i)))
                now.push_back(options);
        ASSERT_EQ(now.size(), shown.size() + 1);
        ASSERT_TRUE(std::equal(shown.begin(), shown.end(), now.begin()));
        shown = now;
    }
    shown[1]->PlayAssigeRdo->Click();
    for (TPlayOption* options : shown) {
        EXPECT_TRUE(options->Widget()->isWindow());
        EXPECT_TRUE(options->Widget()->isVisible());
        EXPECT_FALSE(options->Widget()->isModal());
    }
    EXPECT_FALSE(shown[0]->PlayIECkBox->Enabled());
    EXPECT_TRUE(shown[1]->PlayIECkBox->Enabled());
    EXPECT_FALSE(shown[2]->PlayIECkBox->Enabled());
    for (TPlayOption* options : shown) delete options;
}

// Records are sorted folders first, by name with numbers as numbers; hidden
// items are listed; row 0 is selected.
TEST_F(FolderTest, OpensAFolderSorted)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    EXPECT_EQ(RowNames(), (std::vector<AnsiString>{"Alpha", "zeta", ".hidden", "Img1.jpg",
                                                   "img2.jpg", "img10.jpg"}));
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(History().front(), DrivePath("pics"));
    EXPECT_EQ(FWindow->cmbxPath->GetText(), DrivePath("pics"));
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(FWindow->GetShellItem(i)->NeedsDetails);
        EXPECT_EQ(FWindow->GetShellItem(i)->AbsoluteId, nullptr);
    }
    EXPECT_THROW(FWindow->GetShellItem(6), EListError);
}

TEST_F(FolderTest, EmptyFolderClearsTheRows)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    FWindow->OpenFolderPath(DrivePath("empty"));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(FWindow->FShellItems->GetCount(), 0);
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_EQ(History().front(), DrivePath("empty"));
    EXPECT_EQ(FWindow->cmbxPath->GetText(), DrivePath("empty"));
}

// An enumeration that starts but hands out no enumerator shows the folder
// empty, as an empty folder.
TEST_F(FolderTest, NoEnumeratorShowsTheFolderEmpty)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    ShellDiagnostics::FailEnumObjects(S_FALSE);
    Run([&] { FWindow->OpenFolderPath(DrivePath("odd")); });
    ShellDiagnostics::FailEnumObjects(S_OK);
    EXPECT_TRUE(FDialogs.errors.empty());
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(FWindow->FShellItems->GetCount(), 0);
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("odd"));
    EXPECT_EQ(History().front(), DrivePath("odd"));
}

// A link to a folder opens as that folder; a name that is not UTF-8 lists and
// opens by its own bytes.
TEST_F(FolderTest, LinksAndNamesThatAreNotUtf8)
{
    FWindow->OpenFolderPath(DrivePath(""));
    const auto names = RowNames();
    const auto link = std::find(names.begin(), names.end(), "link");
    ASSERT_NE(link, names.end());
    EXPECT_TRUE(
        IsFolderItem(FWindow->FCurrentFolder,
                     FWindow->GetShellItem(static_cast<int>(link - names.begin()))->ChildId));
    FWindow->OpenFolderPath(DrivePath("link"));
    EXPECT_EQ(RowCount(), 6);

    FWindow->OpenFolderPath(DrivePath("odd"));
    ASSERT_EQ(RowNames(), std::vector<AnsiString>{"caf\xE9.txt"});
}

// History: a new folder goes to the top; a visited one selects its entry and
// keeps order and count.
TEST_F(FolderTest, HistoryKeepsOneEntryPerFolder)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    FWindow->OpenFolderPath(DrivePath("empty"));
    EXPECT_EQ(History(),
              (std::vector<AnsiString>{DrivePath("empty"), DrivePath("pics"), kDrivesFolder}));
    FWindow->OpenFolderPath(DrivePath("pics"));
    EXPECT_EQ(History(),
              (std::vector<AnsiString>{DrivePath("empty"), DrivePath("pics"), kDrivesFolder}));
    EXPECT_EQ(FWindow->cmbxPath->GetItemIndex(), 1);
    EXPECT_EQ(FWindow->cmbxPath->GetText(), DrivePath("pics"));
    // The lookup is case-sensitive, as the file system is.
    FWindow->OpenFolderPath(DrivePath("EMPTY"));
    EXPECT_EQ(History().size(), 4u);
    EXPECT_EQ(History().front(), DrivePath("EMPTY"));
}

// Reopening the open folder through its own history entry rebuilds the rows
// and keeps the list shared by the entry and FCurrentId valid.
TEST_F(FolderTest, ReopenThroughHistoryEntry)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    LPITEMIDLIST shared = FWindow->FCurrentId;
    PShellItem* before = FWindow->GetShellItem(0);
    before->NeedsDetails = false;
    FWindow->cmbxPath->SetItemIndex(0);
    FWindow->cmbxPathClick(FWindow->cmbxPath);
    EXPECT_EQ(FWindow->FCurrentId, shared);
    EXPECT_EQ(IdListSize(shared) > 2, true);
    EXPECT_TRUE(FWindow->GetShellItem(0)->NeedsDetails);
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(History().size(), 2u);
}

// A path that does not parse: one message with the system's text and
// nothing else changes.
TEST_F(FolderTest, PathThatDoesNotParse)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    LPITEMIDLIST current = FWindow->FCurrentId;
    Run([&] { FWindow->OpenFolderPath(DrivePath("missing")); });
    ASSERT_EQ(FDialogs.errors.size(), 1u);
    EXPECT_EQ(FDialogs.errors[0], SysErrorMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(FWindow->FCurrentId, current);
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(History().size(), 2u);
}

// A file cannot be bound as a folder: the system's text, all unchanged.
TEST_F(FolderTest, FileCannotBeOpenedAsFolder)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    Run([&] { FWindow->OpenFolderPath(DrivePath("plain.txt")); });
    ASSERT_EQ(FDialogs.errors.size(), 1u);
    EXPECT_EQ(FDialogs.errors[0], SysErrorMessage(HRESULT_FROM_WIN32(ERROR_DIRECTORY)));
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(RowCount(), 6);
}

// An enumeration that cannot start leaves the open folder, its records, the
// row count and the cursor as they were.
TEST_F(FolderTest, EnumerationThatFailsChangesNothing)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    IShellFolder* folder = FWindow->FCurrentFolder;
    PShellItem* first = FWindow->GetShellItem(0);
    Screen->SetCursor(crDefault);
    ShellDiagnostics::FailEnumObjects(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    Run([&] { FWindow->OpenFolderPath(DrivePath("empty")); });
    ShellDiagnostics::FailEnumObjects(S_OK);
    ASSERT_EQ(FDialogs.errors.size(), 1u);
    EXPECT_EQ(FDialogs.errors[0], "Access is denied.");
    EXPECT_EQ(FWindow->FCurrentFolder, folder);
    EXPECT_EQ(FWindow->GetShellItem(0), first);
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(History().size(), 2u);
    // The list draws again, and a later open works as usual.
    EXPECT_TRUE(ListDraws());
    FWindow->OpenFolderPath(DrivePath("empty"));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(ListDraws());
}

// Many opens, reopens and failures: the teardown proves every list was freed
// exactly once (no live block, and the sanitizer sees no double free).
TEST_F(FolderTest, OwnershipOverManyOpens)
{
    for (int round = 0; round < 3; ++round) {
        FWindow->OpenFolderPath(DrivePath("pics"));
        FWindow->OpenFolderPath(DrivePath("link"));
        FWindow->OpenFolderPath(DrivePath(""));
        FWindow->OpenFolderPath(DrivePath("pics"));
        Run([&] { FWindow->OpenFolderPath(DrivePath("nowhere")); });
        FWindow->cmbxPath->SetItemIndex(static_cast<int>(History().size()) - 1);
        FWindow->cmbxPathClick(nullptr);
    }
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(FDialogs.errors.size(), 3u);
}

// Every open puts the focus mark on row 0 and scrolls it fully into view, in
// every view style, however far down the list stood before: reopened by its
// history entry, and a folder opened anew.
TEST_F(LongFolderTest, AnOpenFocusesAndShowsRowZero)
{
    TListView* list = FWindow->lstvwVirtualList;
    for (TToolButton* style : {FWindow->tlbtnReport, FWindow->tlbtnList, FWindow->tlbtnSmallIcons,
                               FWindow->tlbtnLargeIcons}) {
        style->Click();
        for (const char* folder : {"long", "other", "long"}) {
            FWindow->OpenFolderPath(DrivePath("long"));
            QAbstractItemView* view = list->ActiveView();
            ASSERT_TRUE(view);
            // Far down, with the mark on the last row.
            SelectRow(RowCount() - 1);
            list->Items()->GetItem(RowCount() - 1)->MakeVisible(false);
            Application->ProcessMessages();
            ASSERT_FALSE(
                view->viewport()->rect().contains(view->visualRect(view->model()->index(0, 0))));

            FWindow->cmbxPath->SetText(DrivePath(folder));
            Run([&] { FWindow->cmbxPathClick(nullptr); });
            Application->ProcessMessages();
            view = list->ActiveView();
            ASSERT_EQ(FWindow->FCurrentPath, DrivePath(folder));
            const QModelIndex first = view->model()->index(0, 0);
            EXPECT_EQ(view->currentIndex().row(), 0) << folder;
            EXPECT_TRUE(view->selectionModel()->isRowSelected(0, {})) << folder;
            EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(first))) << folder;
            EXPECT_EQ(SelectedRow(), 0);
        }
    }
    EXPECT_TRUE(FDialogs.errors.empty());
}
