// Who owns each item id list, and what a failure leaves behind. The fixture
// checks at tear-down that no list is left in the shell allocator; the
// sanitizer build also sees any list freed twice.

#include "tests/shell/MainWindowFixture.h"
#include "tests/shell/ScriptedFolder.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ShellDiagnostics.h"
#include "platform/toolkit/ComboBox.h"
#include "shell/IdList.h"

#include <cstdio>
#include <ostream>

namespace {

class OwnershipTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFile("pics/a.jpg");
        drive.AddFile("pics/b.jpg");
        drive.AddFolder("pics/sub");
        drive.AddFolder("empty");
    }

    // A new absolute list for a path, as the path box's parse makes one.
    LPITEMIDLIST NewList(const AnsiString& path) const
    {
        LPOLESTR wide = StringToOleStr(path);
        ULONG eaten = 0;
        ULONG attributes = 0;
        LPITEMIDLIST id = nullptr;
        const HRESULT status = FWindow->FDesktopFolder->ParseDisplayName(nullptr, nullptr, wide,
                                                                         &eaten, &id, &attributes);
        SysFreeString(wide);
        EXPECT_EQ(status, S_OK) << path;
        return id;
    }

    void* EntryList(int entry) const { return FWindow->cmbxPath->Items()->GetObject(entry); }

    // Chooses a history entry in the drop-down, as the user does.
    void Choose(int entry)
    {
        FWindow->cmbxPath->SetItemIndex(entry);
        Run([&] { FWindow->cmbxPathClick(FWindow->cmbxPath); });
    }

    // What a failed open must leave: the folder, its records, the rows and
    // the history as they were.
    struct OpenFolder {
        IShellFolder* folder;
        LPITEMIDLIST id;
        AnsiString path;
        PShellItem* firstRecord;
        int records;
        int rows;
        std::vector<AnsiString> history;
        bool operator==(const OpenFolder&) const = default;
        friend void PrintTo(const OpenFolder& open, std::ostream* out)
        {
            *out << "{path \"" << open.path << "\", " << open.records << " records, " << open.rows
                 << " rows, " << open.history.size() << " entries, folder " << open.folder
                 << ", list " << open.id << ", first record " << open.firstRecord << "}";
        }
    };
    OpenFolder Snapshot() const
    {
        return {FWindow->FCurrentFolder,
                FWindow->FCurrentId,
                FWindow->FCurrentPath,
                FWindow->FShellItems->GetCount() ? FWindow->GetShellItem(0) : nullptr,
                FWindow->FShellItems->GetCount(),
                RowCount(),
                History()};
    }
};

}  // namespace

// An open made while memory ran out cannot name its folder, so its entry gets
// an empty text; choosing that entry opens the same list again, now with its
// name, and a second entry holds that same list. Both stay usable, and the
// window frees the list once.
TEST_F(OwnershipTest, TwoHistoryEntriesShareOneList)
{
    LPITEMIDLIST pics = NewList(DrivePath("pics"));
    ShellDiagnostics::FailAlloc(true);
    FWindow->OpenFolderId(pics);
    ShellDiagnostics::FailAlloc(false);
    ASSERT_EQ(History(), (std::vector<AnsiString>{"", kDrivesFolder}));
    EXPECT_EQ(EntryList(0), pics);

    Choose(0);
    ASSERT_EQ(History(), (std::vector<AnsiString>{DrivePath("pics"), "", kDrivesFolder}));
    EXPECT_EQ(EntryList(0), pics);
    EXPECT_EQ(EntryList(1), pics);
    EXPECT_EQ(FWindow->FCurrentId, pics);
    EXPECT_EQ(RowNames(), (std::vector<AnsiString>{"sub", "a.jpg", "b.jpg"}));

    // Leaving the folder frees nothing the history holds; either entry opens it.
    FWindow->OpenFolderPath(DrivePath("empty"));
    Choose(2);
    EXPECT_EQ(FWindow->FCurrentId, pics);
    EXPECT_EQ(RowCount(), 3);
    Choose(3);
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    Choose(1);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A history entry whose folder cannot be opened any more keeps its list:
// neither a bind nor an enumeration that fails frees it, and once the folder
// is back the entry opens it.
TEST_F(OwnershipTest, HistoryEntryThatCannotOpenKeepsItsList)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    FWindow->OpenFolderPath(DrivePath("empty"));
    void* pics = EntryList(1);
    const OpenFolder before = Snapshot();
    const long blocks = ShellDiagnostics::LiveBlocks();

    const std::string posix = FDrive->Root() + "/pics";
    ASSERT_EQ(std::rename(posix.c_str(), (posix + ".away").c_str()), 0);
    Choose(1);
    ASSERT_EQ(std::rename((posix + ".away").c_str(), posix.c_str()), 0);
    ShellDiagnostics::FailEnumObjects(HRESULT_FROM_WIN32(ERROR_NOT_READY));
    Choose(1);
    ShellDiagnostics::FailEnumObjects(S_OK);

    EXPECT_EQ(FDialogs.errors,
              (std::vector<AnsiString>{SysErrorMessage(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)),
                                       "The device is not ready."}));
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(EntryList(1), pics);

    Choose(1);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(FWindow->FCurrentId, pics);
    EXPECT_EQ(RowCount(), 3);
}

// Without the allocator no list can be given back: an open is refused with
// the system's text before anything changes, and clearing the records raises
// instead of losing their lists. Once the allocator is back, everything is
// given back (the fixture counts the blocks).
TEST_F(OwnershipTest, AllocatorThatCannotBeHad)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    const OpenFolder before = Snapshot();
    const long blocks = ShellDiagnostics::LiveBlocks();
    Screen->SetCursor(crDefault);

    ShellDiagnostics::FailGetMalloc(E_FAIL);
    Choose(1);
    EXPECT_EQ(FDialogs.errors, std::vector<AnsiString>{"Unspecified error"});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
    EXPECT_EQ(Screen->Cursor(), crDefault);

    EXPECT_THROW(FWindow->ClearItemList(), EOleSysError);
    ShellDiagnostics::FailGetMalloc(S_OK);
    ASSERT_EQ(FWindow->FShellItems->GetCount(), 3);
    EXPECT_EQ(FWindow->GetShellItem(0), before.firstRecord);
    for (int i = 0; i < 3; ++i) EXPECT_NE(FWindow->GetShellItem(i)->ChildId, nullptr);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);

    // A wide name that cannot be given back raises as well.
    ScriptedFolder desktop(FWindow->FDesktopFolder);
    ShellDiagnostics::FailGetMalloc(E_FAIL);
    EXPECT_THROW(ItemDisplayName(&desktop, FWindow->FCurrentId, true), EOleSysError);
    ShellDiagnostics::FailGetMalloc(S_OK);
    ASSERT_NE(desktop.lastWideName, nullptr);
    SysFreeString(desktop.lastWideName);

    Choose(1);
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
    EXPECT_EQ(FDialogs.errors.size(), 1u);
}

// A fill that raises part-way (here the third name query, as running out of
// memory would) leaves the open folder, its records and the rows as they
// were, keeps no reference on the new folder and puts the cursor back.
TEST_F(OwnershipTest, FillThatRaisesChangesNothing)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    FWindow->OpenFolderPath(DrivePath(""));
    const OpenFolder before = Snapshot();
    ASSERT_EQ(before.records, 2);

    LPITEMIDLIST picsList = NewList(DrivePath("pics"));
    ComRef<IShellFolder> pics;
    ASSERT_EQ(
        FWindow->FDesktopFolder->BindToObject(picsList, nullptr, IID_IShellFolder, pics.putVoid()),
        S_OK);
    FreeItemId(picsList);
    ScriptedFolder scripted(pics.get());
    scripted.raiseAtName = 3;
    Screen->SetCursor(crDefault);
    Run([&] { FWindow->FillItemList(&scripted); });

    EXPECT_EQ(FDialogs.errors, std::vector<AnsiString>{"Out of memory."});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(FWindow->GetShellItem(1)->Name, "pics");
    EXPECT_EQ(scripted.References(), 1u);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}
