// Cache hints and the lazy loading of row details.

#include "tests/listview/FolderWindow.h"

#include "listview/ItemIconIndex.h"
#include "platform/base/Icon.h"
#include "platform/shell/ShellDiagnostics.h"
#include "shell/IdList.h"

#include <ctime>
#include <sys/stat.h>

class DetailLoadTest : public FolderWindowTest {
protected:
    void MakeTenFiles()
    {
        for (int i = 0; i < 10; ++i) MakeFile(QString("f%1").arg(i), i * 100);
    }

    // Sets a file's last-write time to a local calendar time today.
    void SetLocalTime(const QString& name, int hour, int minute, int second)
    {
        const time_t now = ::time(nullptr);
        tm local{};
        ::localtime_r(&now, &local);
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        const timespec times[2] = {{::mktime(&local), 0}, {::mktime(&local), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, PathOf(name).toLocal8Bit().constData(), times, 0), 0);
        today = SYSTEMTIME{static_cast<WORD>(local.tm_year + 1900),
                           static_cast<WORD>(local.tm_mon + 1),
                           0,
                           static_cast<WORD>(local.tm_mday),
                           0,
                           0,
                           0,
                           0};
    }

    SYSTEMTIME today{};
};

// A range that is not wholly inside the records is ignored, not shortened.
TEST_F(DetailLoadTest, HintOutsideTheRecordsLoadsNothing)
{
    MakeTenFiles();
    OpenWindow();
    ASSERT_EQ(RowCount(), 10);
    const int ranges[][2] = {{0, 20}, {0, 10}, {10, 10}, {5, 3}, {-1, 3}, {-5, -1}, {9, 0}};
    for (const auto& range : ranges) {
        frmQuillet->lstvwVirtualListDataHint(nullptr, range[0], range[1]);
        EXPECT_EQ(LoadedCount(), 0) << range[0] << ".." << range[1];
    }
    frmQuillet->lstvwVirtualListDataHint(nullptr, 2, 4);
    EXPECT_EQ(LoadedCount(), 3);
    for (int row : {2, 3, 4}) EXPECT_FALSE(frmQuillet->GetShellItem(row)->NeedsDetails);
}

// A loaded record is never loaded again: a second hint asks the platform nothing.
TEST_F(DetailLoadTest, SecondHintAsksNothing)
{
    MakeTenFiles();
    OpenWindow();
    ShellDiagnostics::ResetQueryCount();
    LoadAll();
    EXPECT_GT(ShellDiagnostics::QueryCount(), 0);
    EXPECT_EQ(LoadedCount(), 10);

    ShellDiagnostics::ResetQueryCount();
    const long blocks = ShellDiagnostics::LiveBlocks();
    LoadAll();
    frmQuillet->lstvwVirtualListDataHint(nullptr, 3, 5);
    EXPECT_EQ(ShellDiagnostics::QueryCount(), 0);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
}

// Midnight has no time part; any other time has the same date and then the time.
TEST_F(DetailLoadTest, DateTextAtMidnightAndAfter)
{
    MakeFile("midnight");
    MakeFile("afternoon");
    SetLocalTime("afternoon", 13, 14, 15);
    SYSTEMTIME afternoon = today;
    afternoon.wHour = 13;
    afternoon.wMinute = 14;
    afternoon.wSecond = 15;
    SetLocalTime("midnight", 0, 0, 0);
    OpenWindow();
    LoadAll();

    const AnsiString date = Record("midnight")->DateText;
    EXPECT_EQ(date, DateTimeToStr(SystemTimeToDateTime(today)));
    EXPECT_EQ(Record("afternoon")->DateText, DateTimeToStr(SystemTimeToDateTime(afternoon)));
    EXPECT_EQ(Record("afternoon")->DateText.view().rfind(date + " ", 0), 0u);
}

// Every icon handle the shell hands out is destroyed at once.
TEST_F(DetailLoadTest, IconHandlesAreDestroyed)
{
    MakeTenFiles();
    MakeFolder("sub");
    OpenWindow();
    const int before = LiveIconCount();
    frmQuillet->lstvwVirtualList->SetViewStyle(vsIcon);
    LoadAll();
    EXPECT_EQ(LiveIconCount(), before);

    const PShellItem* record = Record("sub");
    ASSERT_NE(record->AbsoluteId, nullptr);
    for (bool large : {false, true}) {
        for (bool open : {false, true}) {
            const int index = ItemIconIndex(record->AbsoluteId, large, open);
            EXPECT_GE(index, 0);
            EXPECT_EQ(LiveIconCount(), before);
        }
    }
}

// A record that already holds its absolute list from a load cut short keeps
// that list; none is lost and every list is freed with the window.
TEST_F(DetailLoadTest, InterruptedLoadReusesItsList)
{
    MakeTenFiles();
    OpenWindow();
    PShellItem* record = frmQuillet->GetShellItem(4);
    record->AbsoluteId = JoinIdLists(frmQuillet->FCurrentId, record->ChildId);
    const LPITEMIDLIST kept = record->AbsoluteId;
    LoadAll();
    EXPECT_EQ(record->AbsoluteId, kept);
    EXPECT_FALSE(record->NeedsDetails);
    EXPECT_NE(record->TypeText, "");
    // The fixture checks that the window frees the kept list once.
}

// Without memory for the absolute list there is no icon and no type, but the
// find data still loads and the record is done.
TEST_F(DetailLoadTest, FailedJoinStillLoadsFindData)
{
    MakeFile("big", 5000);
    OpenWindow();
    ShellDiagnostics::FailAlloc(true);
    LoadAll();
    ShellDiagnostics::FailAlloc(false);

    const PShellItem* record = Record("big");
    EXPECT_EQ(record->AbsoluteId, nullptr);
    EXPECT_EQ(record->IconIndex, 0);
    EXPECT_EQ(record->TypeText, "");
    EXPECT_EQ(record->SizeKB, 5);
    EXPECT_EQ(record->Attributes & FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(record->NeedsDetails);
}

// A drive has no find data: its row gets size 1 (the size column stays blank,
// as for any folder), no attributes and no date, but its type and its icon.
TEST_F(DetailLoadTest, DriveRowHasTypeAndIconWithoutFindData)
{
    CreateWindow();  // start-up opens the drives folder, which holds C: only
    ASSERT_EQ(RowCount(), 1);
    LoadAll();

    const PShellItem* drive = frmQuillet->GetShellItem(0);
    EXPECT_FALSE(drive->NeedsDetails);
    EXPECT_EQ(drive->SizeKB, 1);
    EXPECT_EQ(drive->Attributes, 0u);
    EXPECT_EQ(drive->DateText, "");
    EXPECT_NE(drive->TypeText, "");
    ASSERT_NE(drive->AbsoluteId, nullptr);
    EXPECT_EQ(drive->IconIndex, ItemIconIndex(drive->AbsoluteId, false, false));
    EXPECT_EQ(RowTexts(0), (std::vector<AnsiString>{drive->Name, "", drive->TypeText, "", ""}));
}
