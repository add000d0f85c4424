// The records' order: the comparison itself, and a sort of records that do not
// arrive in order (the namespace's enumerator hands them out sorted already,
// so opening a folder alone cannot show a comparison that is wrong).

#include "tests/shell/MainWindowFixture.h"
#include "tests/shell/ScriptedFolder.h"

#include "platform/shell/ShellDiagnostics.h"

#include <algorithm>
#include <new>

namespace {

class SortTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        for (const char* file : {"img10.jpg", "img2.jpg", "Img1.jpg", ".hidden", "notes"})
            drive.AddFile(std::string("pics/") + file);
        for (const char* folder : {"zeta", "Alpha", "alpha9", "alpha10"})
            drive.AddFolder(std::string("pics/") + folder);
    }

    const std::vector<AnsiString> kSorted = {"Alpha",    "alpha9",   "alpha10",   "zeta", ".hidden",
                                             "Img1.jpg", "img2.jpg", "img10.jpg", "notes"};
};

}  // namespace

// The result is the CODE field of the status (its low 16 bits as a signed
// number); the severity is not looked at. The records' child lists are passed
// in the order of the arguments.
TEST_F(SortTest, ComparisonIsTheCodeFieldOfCompareIDs)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    PShellItem* first = FWindow->GetShellItem(0);
    PShellItem* second = FWindow->GetShellItem(1);
    ScriptedFolder scripted(FWindow->FCurrentFolder);
    IShellFolder* open = std::exchange(FWindow->FCurrentFolder, &scripted);

    const struct {
        HRESULT status;
        int result;
    } cases[] = {{0x0000FFFF, -1},    {static_cast<HRESULT>(0x8000FFFF), -1},
                 {0x00000001, 1},     {static_cast<HRESULT>(0x80000001), 1},
                 {0x00000000, 0},     {0x0000FFFE, -2},
                 {0x00007FFF, 32767}, {0x00008000, -32768},
                 {0x00120001, 1}};
    std::vector<std::pair<LPCITEMIDLIST, LPCITEMIDLIST>> asked;
    for (const auto& row : cases) {
        scripted.compare = [&](LPCITEMIDLIST a, LPCITEMIDLIST b) {
            asked.emplace_back(a, b);
            return row.status;
        };
        EXPECT_EQ(CompareShellItems(first, second), row.result) << std::hex << row.status;
    }
    FWindow->FCurrentFolder = open;
    ASSERT_EQ(asked.size(), std::size(cases));
    for (const auto& pair : asked) {
        EXPECT_EQ(pair.first, first->ChildId);
        EXPECT_EQ(pair.second, second->ChildId);
    }

    // With the real folder: negative when the first comes first, positive
    // when it comes after, zero against itself.
    EXPECT_LT(CompareShellItems(first, second), 0);
    EXPECT_GT(CompareShellItems(second, first), 0);
    EXPECT_EQ(CompareShellItems(first, first), 0);
}

// Records in reverse order and in a shuffled order are sorted into the
// folder's order: folders first, names with numbers compared as numbers.
TEST_F(SortTest, SortsRecordsThatArriveUnordered)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    ASSERT_EQ(RowNames(), kSorted);
    TList* records = FWindow->FShellItems;
    const int count = records->GetCount();
    std::vector<void*> original;
    for (int i = 0; i < count; ++i) original.push_back(records->Get(i));

    std::vector<void*> reversed(original.rbegin(), original.rend());
    std::vector<void*> shuffled;
    for (int step : {4, 1, 7, 0, 8, 3, 6, 2, 5}) shuffled.push_back(original[step]);
    for (const auto& order : {reversed, shuffled}) {
        for (int i = 0; i < count; ++i) records->Put(i, order[static_cast<size_t>(i)]);
        records->Sort(CompareShellItems);
        EXPECT_EQ(RowNames(), kSorted);
    }
}

// A sort that runs out of memory part-way (merging takes a buffer) fails the
// fill having changed nothing: the open folder, its records and its rows
// stay, and with them the path and the history, which only a fill that
// succeeds moves on. The new records and their lists are freed.
TEST_F(SortTest, ASortOutOfMemoryChangesNothing)
{
    FWindow->OpenFolderPath(DrivePath("pics"));
    std::vector<void*> records;
    for (int i = 0; i < FWindow->FShellItems->GetCount(); ++i)
        records.push_back(FWindow->FShellItems->Get(i));
    IShellFolder* open = FWindow->FCurrentFolder;
    // The fill lets messages through while the folder is listed, and the
    // shown rows then load their details, which take lists of their own:
    // they are loaded before the count is taken.
    Application->ProcessMessages();
    const long blocks = ShellDiagnostics::LiveBlocks();

    ScriptedFolder scripted(open);
    int compared = 0;
    scripted.compare = [&](LPCITEMIDLIST, LPCITEMIDLIST) -> HRESULT {
        if (++compared > 3) throw std::bad_alloc();
        return 1;  // out of order: the sort has work to do
    };
    EXPECT_THROW(FWindow->FillItemList(&scripted), std::bad_alloc);
    EXPECT_GT(compared, 3);
    EXPECT_EQ(FWindow->FCurrentFolder, open);
    EXPECT_EQ(scripted.References(), 1u);  // still the caller's
    ASSERT_EQ(FWindow->FShellItems->GetCount(), static_cast<int>(records.size()));
    for (int i = 0; i < FWindow->FShellItems->GetCount(); ++i)
        EXPECT_EQ(FWindow->FShellItems->Get(i), records[static_cast<size_t>(i)]);
    EXPECT_EQ(RowNames(), kSorted);
    EXPECT_EQ(RowCount(), static_cast<int>(kSorted.size()));
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("pics"));
    EXPECT_EQ(History(), (std::vector<AnsiString>{DrivePath("pics"), kDrivesFolder}));

    // The window goes on as before.
    FWindow->OpenFolderPath(DrivePath("pics"));
    EXPECT_EQ(RowNames(), kSorted);
}
