#include "tests/platform_shell/ShellFixture.h"

#include "platform/base/Drives.h"
#include "platform/shell/ComObj.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

// Every accepted spelling names the same item as the canonical one.
TEST_F(ShellTest, ParsesDrivePathsAndPosixPaths)
{
    MakeFolder("Photos");
    MakeFile("Photos/a.jpg");
    const struct {
        const char* text;
        const char* parsing;
    } cases[] = {
        {"C:\\", "C:\\"},
        {"C:", "C:\\"},
        {"c:\\Photos", "C:\\Photos"},
        {"C:/Photos/", "C:\\Photos"},
        {"C:\\Photos\\.\\a.jpg", "C:\\Photos\\a.jpg"},
        {"C:\\Photos\\..\\Photos", "C:\\Photos"},
        {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
        {"::{20d04fe0-3aea-1069-a2d8-08002b30309d}", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
    };
    for (const auto& c : cases) {
        OwnedId id;
        ASSERT_EQ(S_OK, Parse(c.text, id)) << c.text;
        EXPECT_EQ(c.parsing, Name(desktop.get(), id.get(), SHGDN_FORPARSING)) << c.text;
    }
    OwnedId posix;
    ASSERT_EQ(S_OK, Parse(PosixPath("Photos/a.jpg"), posix));
    EXPECT_EQ("C:\\Photos\\a.jpg", Name(desktop.get(), posix.get(), SHGDN_FORPARSING));
}

TEST_F(ShellTest, ParseFailuresCarryTheSystemsWording)
{
    MakeFile("file.txt");
    // Two links that lead to each other: no name at the end of them.
    ASSERT_EQ(0, symlink("loop-b", PosixPath("loop-a").c_str()));
    ASSERT_EQ(0, symlink("loop-a", PosixPath("loop-b").c_str()));
    const struct {
        const char* text;
        std::uint32_t status;
        const char* message;
    } cases[] = {
        {"C:\\missing", 0x80070002, "The system cannot find the file specified."},
        {"C:\\missing\\deeper", 0x80070003, "The system cannot find the path specified."},
        {"C:\\file.txt\\inside", 0x80070003, "The system cannot find the path specified."},
        {"C:\\loop-a", 0x80070781, "The name of the file cannot be resolved by the system."},
        {"C:\\loop-a\\inside", 0x80070781,
         "The name of the file cannot be resolved by the system."},
        {"Q:\\", 0x8007000F, "The system cannot find the drive specified."},
        {"relative\\path", 0x8007007B,
         "The filename, directory name, or volume label syntax is incorrect."},
        {"C:relative", 0x8007007B,
         "The filename, directory name, or volume label syntax is incorrect."},
        {"", 0x80070057, "The parameter is incorrect."},
    };
    for (const auto& c : cases) {
        OwnedId id;
        const HRESULT hr = Parse(c.text, id);
        EXPECT_EQ(static_cast<HRESULT>(c.status), hr) << c.text;
        EXPECT_EQ(nullptr, id.get()) << c.text;
        try {
            OleCheck(hr);
            ADD_FAILURE() << c.text;
        } catch (const EOleSysError& e) {
            EXPECT_EQ(c.message, e.Message()) << c.text;
            EXPECT_EQ(hr, e.ErrorCode());
        }
    }
}

TEST_F(ShellTest, ADriveWhoseFolderIsGoneIsNotReady)
{
    setenv("QUILLET_DRIVES", ("C=" + dir.path().toStdString() + ";D=/nonexistent/quillet").c_str(),
           1);
    ReloadDriveMap();
    OwnedId id;
    EXPECT_EQ(static_cast<HRESULT>(0x80070015), Parse("D:\\", id));
    EXPECT_EQ("The device is not ready.", SysErrorMessage(static_cast<HRESULT>(0x80070015)));
}

TEST(SysErrorMessage, NamesUnknownStatusesInHex)
{
    EXPECT_EQ("The directory name is invalid.", SysErrorMessage(static_cast<HRESULT>(0x8007010B)));
    EXPECT_EQ("Access is denied.", SysErrorMessage(static_cast<HRESULT>(0x80070005)));
    EXPECT_EQ("No such interface supported", SysErrorMessage(E_NOINTERFACE));
    EXPECT_EQ("Not enough storage is available to complete this operation.",
              SysErrorMessage(E_OUTOFMEMORY));
    EXPECT_NE(std::string::npos,
              SysErrorMessage(static_cast<HRESULT>(0x80070020)).find("80070020"));
    EXPECT_EQ(S_FALSE, OleCheck(S_FALSE));
    EXPECT_THROW(OleCheck(E_FAIL), EOleSysError);
}

// The parsing name of every file-system item maps back to the item's exact
// bytes: a name holding a backslash keeps the POSIX form, which parses back
// to the same item, and so does a home folder that no drive covers.
TEST_F(ShellTest, ParsingNamesMapBackToTheExactBytes)
{
    MakeFolder("dir\\bs");
    MakeFile("dir\\bs/back\\slash.jpg");
    MakeFile("caf\xE9.jpg");
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const std::string home = elsewhere.path().toStdString();
    ASSERT_EQ(0, mkdir((home + "/sub\\dir").c_str(), 0755));
    struct HomeAt {
        std::string saved = getenv("HOME") ? getenv("HOME") : "";
        explicit HomeAt(const std::string& path) { setenv("HOME", path.c_str(), 1); }
        ~HomeAt() { setenv("HOME", saved.c_str(), 1); }
    } homeAt(home);

    const struct {
        std::string parse;  // text that names the item
        std::string posix;  // its exact bytes
    } cases[] = {
        {"C:\\", dir.path().toStdString()},
        {PosixPath("dir\\bs"), PosixPath("dir\\bs")},
        {PosixPath("dir\\bs/back\\slash.jpg"), PosixPath("dir\\bs/back\\slash.jpg")},
        {"C:\\caf\xE9.jpg", PosixPath("caf\xE9.jpg")},
        {home, home},
        {home + "/sub\\dir", home + "/sub\\dir"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parse);
        OwnedId id;
        ASSERT_EQ(S_OK, Parse(c.parse, id));
        const std::string name = Name(desktop.get(), id.get(), SHGDN_FORPARSING);
        EXPECT_EQ(c.posix, NamespaceToPosixPath(name).value_or("?"));
        OwnedId again;
        ASSERT_EQ(S_OK, Parse(name, again)) << name;
        EXPECT_EQ(name, Name(desktop.get(), again.get(), SHGDN_FORPARSING));
    }

    // Enumerated children are named the same way.
    ComRef<IShellFolder> folder = Bind(PosixPath("dir\\bs"));
    ASSERT_TRUE(folder);
    std::vector<OwnedId> children = Children(folder.get());
    ASSERT_EQ(1u, children.size());
    EXPECT_EQ(PosixPath("dir\\bs/back\\slash.jpg"),
              Name(folder.get(), children[0].get(), SHGDN_FORPARSING));
}
