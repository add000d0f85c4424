// The gallery over real folders with real faults: entries that are no
// regular files, folders named in POSIX form, names that hold backslashes, a
// folder that can be listed but not searched.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/shell/ShlObj.h"
#include "platform/toolkit/ImageList.h"
#include "tests/support/OrdinaryUser.h"

#include <QTemporaryDir>

#include <jerror.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// $HOME set to path while it lives.
class HomeAt {
public:
    explicit HomeAt(const std::string& path)
    {
        if (const char* home = std::getenv("HOME")) FSaved = home;
        setenv("HOME", path.c_str(), 1);
    }
    ~HomeAt() { setenv("HOME", FSaved.c_str(), 1); }
    HomeAt(const HomeAt&) = delete;
    HomeAt& operator=(const HomeAt&) = delete;

private:
    std::string FSaved;
};

}  // namespace

class GalleryFaultsTest : public GalleryTest {
protected:
    // The captions of the tiles that are blank.
    std::vector<AnsiString> BlankCaptions() const
    {
        const std::vector<AnsiString> captions = Captions();
        std::vector<AnsiString> blank;
        for (size_t i = 0; i < captions.size(); ++i)
            if (IsBlank(Tile(static_cast<int>(i)))) blank.push_back(captions[i]);
        return blank;
    }
    // The messages the scan should show: "<folder>\<name>" for each of the
    // failing names, in the search order of the folder's pattern.
    std::vector<AnsiString> Messages(const AnsiString& folder,
                                     const std::vector<AnsiString>& failing) const
    {
        std::vector<AnsiString> expected;
        for (const AnsiString& name : SearchOrder(folder + "\\*.jpg"))
            if (std::find(failing.begin(), failing.end(), name) != failing.end())
                expected.push_back(folder + "\\" + name);
        return expected;
    }
};

// A FIFO (which would block an open for ever) and links to devices each get
// the load-error message with their path and a blank tile, wherever they
// stand in the folder; the scan goes on and the window goes at once after.
TEST_F(GalleryFaultsTest, EntriesThatAreNoRegularFilesGetTheLoadError)
{
    const std::string root = FDrive->Root();
    for (const char* name : {"a.jpg", "m.jpg", "z.jpg"}) CopyPicture("sizes/pic_200x200.jpg", name);
    ASSERT_EQ(0, mkfifo((root + "/cam.jpg").c_str(), 0644));
    ASSERT_EQ(0, symlink("/dev/zero", (root + "/zero.jpg").c_str()));
    ASSERT_EQ(0, symlink("/dev/urandom", (root + "/random.jpg").c_str()));
    std::vector<AnsiString> failing{"cam.jpg", "zero.jpg", "random.jpg"};
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0) {
        ASSERT_EQ(0, symlink(ptsname(terminal), (root + "/tty.jpg").c_str()));
        failing.push_back("tty.jpg");
    }
    FWindow->FCurrentPath = "C:\\";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(Captions(), SearchOrder("C:\\*.jpg"));
    EXPECT_EQ(FDialogs.messages, Messages("C:\\", failing));
    std::vector<AnsiString> blank = BlankCaptions();
    std::sort(blank.begin(), blank.end());
    std::sort(failing.begin(), failing.end());
    EXPECT_EQ(blank, failing);
    EXPECT_TRUE(FDialogs.errors.empty());
    if (terminal >= 0) close(terminal);
}

// The load-error message is shown before the entry's blank tile is added,
// with every earlier tile already in place.
TEST_F(GalleryFaultsTest, TheLoadErrorComesBeforeTheBlankTile)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", name);
    CopyPicture("broken/not-a-jpeg.jpg", "broken.jpg");
    const std::vector<AnsiString> order = SearchOrder("C:\\*.jpg");
    const auto at = std::find(order.begin(), order.end(), "broken.jpg") - order.begin();
    std::vector<AnsiString> whileShown{"not shown"};
    FDialogs.whileShown = [&] { whileShown = Captions(); };
    FWindow->FCurrentPath = "C:\\";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(FDialogs.messages, std::vector<AnsiString>{"C:\\\\broken.jpg"});
    EXPECT_EQ(whileShown, std::vector<AnsiString>(order.begin(), order.begin() + at));
    EXPECT_EQ(Captions(), order);
    EXPECT_TRUE(IsBlank(Tile(static_cast<int>(at))));
}

// The home folder, when no drive covers it, is named by its POSIX path; its
// gallery is built from that path like any other.
TEST_F(GalleryFaultsTest, AFolderNamedByItsPosixPathHasItsGallery)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const std::string home = elsewhere.path().toStdString();
    for (const char* name : {"one.jpg", "two.jpg"})
        std::filesystem::copy_file(QUILLET_TEST_DATA "/jpeg/sizes/pic_640x480.jpg",
                                   home + "/" + name);
    const HomeAt homeAt(home);
    LPITEMIDLIST id = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, &id));
    Run([&] { FWindow->OpenFolderId(id); });
    ASSERT_EQ(FWindow->FCurrentPath, home);

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(Captions(), SearchOrder(home + "\\*.jpg"));
    EXPECT_EQ(Captions().size(), 2u);
    EXPECT_TRUE(BlankCaptions().empty());
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A backslash inside a name is part of it: a picture "back\slash.jpg" shows,
// and a folder "dir\bs", opened as the program opens it, has its gallery.
TEST_F(GalleryFaultsTest, NamesHoldingBackslashesHaveTheirPictures)
{
    CopyPicture("sizes/pic_640x480.jpg", "back\\slash.jpg");
    CopyPicture("sizes/pic_200x200.jpg", "plain.jpg");
    CopyPicture("sizes/pic_640x480.jpg", "dir\\bs/inside.jpg");
    CopyPicture("sizes/pic_640x480.jpg", "dir\\bs/in\\side.jpg");
    FWindow->FCurrentPath = "C:\\";
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(Captions().size(), 2u);
    EXPECT_TRUE(BlankCaptions().empty());
    EXPECT_TRUE(FDialogs.messages.empty());

    Run([&] { FWindow->OpenFolderPath(FDrive->Root() + "/dir\\bs"); });
    EXPECT_EQ(FWindow->FCurrentPath, FDrive->Root() + "/dir\\bs");
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    std::vector<AnsiString> captions = Captions();
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<AnsiString>{"in\\side.jpg", "inside.jpg"}));
    EXPECT_TRUE(BlankCaptions().empty());
    EXPECT_TRUE(FDialogs.messages.empty());
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A folder that can be read but not searched (r--, for a user who is not
// root) lists its names; each matching entry gets the load-error message,
// then its blank tile.
TEST_F(GalleryFaultsTest, AFolderThatCannotBeSearchedGivesEachEntryItsTile)
{
    const OrdinaryUserRun run = RunCurrentTestAsOrdinaryUser();
    if (run.outcome == OrdinaryUserRun::Impossible) GTEST_SKIP() << run.why;
    if (run.outcome != OrdinaryUserRun::RunHere) {
        EXPECT_EQ(run.outcome, OrdinaryUserRun::Passed) << run.why;
        return;
    }
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        CopyPicture("sizes/pic_200x200.jpg", std::string("locked/") + name);
    const std::string locked = FDrive->Root() + "/locked";
    const std::vector<AnsiString> order = SearchOrder("C:\\locked\\*.jpg");
    ASSERT_EQ(0, chmod(locked.c_str(), 0444));
    FWindow->FCurrentPath = "C:\\locked";

    Run([&] { FWindow->ToolButton1Click(nullptr); });
    chmod(locked.c_str(), 0755);
    EXPECT_EQ(Captions(), order);
    EXPECT_EQ(FDialogs.messages, Messages("C:\\locked", {"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(BlankCaptions().size(), 3u);
    EXPECT_TRUE(FDialogs.errors.empty());
}

// A picture claiming 65500 x 65500 pixels, and one of 300 progressive scans,
// each a small file, get the decoding error at once.
TEST_F(GalleryFaultsTest, PicturesAskingForAbsurdWorkFailAtOnce)
{
    CopyPicture("crafted/huge-arith.jpg", "huge/huge.jpg");
    CopyPicture("crafted/many-scans.jpg", "scans/scans.jpg");
    FWindow->FCurrentPath = "C:\\huge";
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    FWindow->FCurrentPath = "C:\\scans";
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(FDialogs.errors,
              (std::vector<AnsiString>{Format("JPEG error #%d", JERR_IMAGE_TOO_BIG),
                                       Format("JPEG error #%d", JERR_EOI_EXPECTED)}));
    EXPECT_TRUE(Captions().empty());
}
