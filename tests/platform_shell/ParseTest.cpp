#include "tests/platform_shell/ShellFixture.h"

#include "platform/base/Drives.h"
#include "platform/shell/ComObj.h"

#include <cstdlib>

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
    const struct {
        const char* text;
        std::uint32_t status;
        const char* message;
    } cases[] = {
        {"C:\\missing", 0x80070002, "The system cannot find the file specified."},
        {"C:\\missing\\deeper", 0x80070003, "The system cannot find the path specified."},
        {"C:\\file.txt\\inside", 0x80070003, "The system cannot find the path specified."},
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
