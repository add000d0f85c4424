#include "platform/base/Drives.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
class DriveMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("QUILLET_DRIVES", "c=/tmp/q;D=/srv/photos/;E=/srv/photos/2024;bad;1=/x;F=relative",
               1);
        ReloadDriveMap();
    }
    void TearDown() override
    {
        unsetenv("QUILLET_DRIVES");
        ReloadDriveMap();
    }
};
}  // namespace

TEST_F(DriveMapTest, TheEnvironmentReplacesTheMap)
{
    const auto& map = DriveMap();
    ASSERT_EQ(3u, map.size());
    EXPECT_EQ('C', map[0].letter);
    EXPECT_EQ("/tmp/q", map[0].root);
    EXPECT_EQ("/srv/photos", map[1].root);  // trailing slash dropped
    EXPECT_EQ(nullptr, FindDrive('F'));
    EXPECT_EQ(&map[1], FindDrive('d'));
}

TEST_F(DriveMapTest, MapsNamespacePathsToPosixPaths)
{
    const struct {
        const char* in;
        const char* out;  // null: none
    } cases[] = {
        {"C:\\", "/tmp/q"},
        {"c:", "/tmp/q"},
        {"C:\\a\\b", "/tmp/q/a/b"},
        {"C:/a/b/", "/tmp/q/a/b"},
        {"C:\\\\a", "/tmp/q/a"},
        {"C:\\a\\..\\..\\b", "/tmp/q/b"},
        {"C:\\.\\a", "/tmp/q/a"},
        {"D:\\x", "/srv/photos/x"},
        {"/etc/x", "/etc/x"},
        {"Q:\\", nullptr},
        {"C:a", nullptr},
        {"a\\b", nullptr},
        {"", nullptr},
        {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", nullptr},
    };
    for (const auto& c : cases) {
        const auto posix = NamespaceToPosixPath(c.in);
        if (c.out) {
            ASSERT_TRUE(posix) << c.in;
            EXPECT_EQ(c.out, *posix) << c.in;
        } else {
            EXPECT_FALSE(posix) << c.in;
        }
    }
}

TEST_F(DriveMapTest, ThePosixPathTakesTheLongestRoot)
{
    EXPECT_EQ("C:\\", PosixToNamespacePath("/tmp/q").value_or("?"));
    EXPECT_EQ("C:\\a\\b", PosixToNamespacePath("/tmp/q/a//b/").value_or("?"));
    EXPECT_EQ("D:\\2023", PosixToNamespacePath("/srv/photos/2023").value_or("?"));
    EXPECT_EQ("E:\\x", PosixToNamespacePath("/srv/photos/2024/x").value_or("?"));
    EXPECT_EQ("D:\\20245",
              PosixToNamespacePath("/srv/photos/20245").value_or("?"));  // whole elements only
    EXPECT_FALSE(PosixToNamespacePath("/tmp/qq"));
    EXPECT_FALSE(PosixToNamespacePath("relative"));
}

TEST(DriveMap, WithoutTheEnvironmentCIsTheRoot)
{
    unsetenv("QUILLET_DRIVES");
    ReloadDriveMap();
    ASSERT_FALSE(DriveMap().empty());
    EXPECT_EQ('C', DriveMap()[0].letter);
    EXPECT_EQ("/", DriveMap()[0].root);
    EXPECT_EQ("C:\\home", PosixToNamespacePath("/home").value_or("?"));
}

// In a POSIX path only '/' separates: a backslash is a byte of a name, and a
// path holding one has no drive form, which would read it as a separator.
TEST_F(DriveMapTest, BackslashesInPosixPathsStayInTheirNames)
{
    const auto split = SplitPosixPath("/tmp/q/dir\\bs//back\\slash.jpg");
    ASSERT_TRUE(split);
    EXPECT_EQ('C', split->drive->letter);
    EXPECT_EQ((std::vector<std::string>{"dir\\bs", "back\\slash.jpg"}), split->elements);
    EXPECT_FALSE(PosixToNamespacePath("/tmp/q/dir\\bs"));
    EXPECT_EQ("/tmp/q/dir\\bs", NamespaceToPosixPath("/tmp/q/dir\\bs").value_or("?"));
    EXPECT_EQ("C:\\a", DriveForm('C', {"a"}).value_or("?"));
    EXPECT_EQ("C:\\", DriveForm('C', {}).value_or("?"));
    EXPECT_FALSE(DriveForm('C', {"a", "b\\c"}));
    EXPECT_EQ(
        (std::vector<std::string>{"x\\y"}),
        PosixElementsBelow("/home/ann/", "/home/ann/./x\\y").value_or(std::vector<std::string>{}));
    EXPECT_FALSE(PosixElementsBelow("/home/ann", "/home/anna/x"));
}
