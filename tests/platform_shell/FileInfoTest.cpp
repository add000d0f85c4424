#include "tests/platform_shell/ShellFixture.h"

#include "platform/base/Icon.h"
#include "platform/base/ImageListData.h"
#include "platform/shell/ShellDiagnostics.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

SHFILEINFOA infoOf(LPCITEMIDLIST id, UINT flags)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(id), 0, &info, sizeof info, flags | SHGFI_PIDL);
    return info;
}

int iconOf(LPCITEMIDLIST id, UINT flags = SHGFI_SMALLICON)
{
    SHFILEINFOA info = infoOf(id, SHGFI_SYSICONINDEX | SHGFI_ICON | flags);
    if (info.hIcon) DestroyIcon(info.hIcon);
    return info.iIcon;
}

// Descriptors this process has open on something under folder: other
// threads' own short-lived ones (a /proc file read) do not count.
int OpenDescriptors(const std::string& folder)
{
    int count = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(fds)) {
            char target[4096];
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
            if (length > 0 && std::string(target, static_cast<size_t>(length)).starts_with(folder))
                ++count;
        }
        closedir(fds);
    }
    return count;
}

// The count once it has come to expected, or after two seconds the count
// as it is: the folder reader's threads close their own descriptors a moment
// after the listing is handed over.
int SettledDescriptors(const std::string& folder, int expected)
{
    int count = OpenDescriptors(folder);
    for (int i = 0; i < 200 && count != expected; ++i) {
        usleep(10000);
        count = OpenDescriptors(folder);
    }
    return count;
}

}  // namespace

TEST_F(ShellTest, TheSystemImageListsShareOneIndexSpace)
{
    SHFILEINFOA info{};
    const auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    const auto large = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    ASSERT_TRUE(small && large);
    EXPECT_NE(small, large);
    EXPECT_EQ(QSize(16, 16), small->ImageSize());
    EXPECT_EQ(QSize(32, 32), large->ImageSize());
    EXPECT_FALSE(small->Image(0).isNull());  // the generic file icon

    MakeFile("a.jpg");
    MakeFile("b.JPG");
    MakeFile("c.txt");
    MakeFolder("d");
    OwnedId a, b, c, d;
    ASSERT_EQ(S_OK, Parse("C:\\a.jpg", a));
    ASSERT_EQ(S_OK, Parse("C:\\b.JPG", b));
    ASSERT_EQ(S_OK, Parse("C:\\c.txt", c));
    ASSERT_EQ(S_OK, Parse("C:\\d", d));
    const int picture = iconOf(a.get());
    EXPECT_EQ(picture, iconOf(b.get(), 0));  // same type, same index, large or small
    EXPECT_NE(picture, iconOf(c.get()));
    EXPECT_NE(picture, iconOf(d.get()));
    EXPECT_NE(iconOf(d.get()), iconOf(d.get(), SHGFI_OPENICON));
    const int count = small->ImageCount();
    EXPECT_EQ(count, large->ImageCount());
    EXPECT_GT(count, picture);
    iconOf(a.get());
    EXPECT_EQ(count, small->ImageCount());  // nothing added twice
    EXPECT_EQ(0, LiveIconCount());
}

TEST_F(ShellTest, IconHandlesAreTheCallersToDestroy)
{
    MakeFile("a.png");
    OwnedId id;
    ASSERT_EQ(S_OK, Parse("C:\\a.png", id));
    SHFILEINFOA info = infoOf(id.get(), SHGFI_SYSICONINDEX | SHGFI_ICON);
    ASSERT_NE(nullptr, info.hIcon);
    EXPECT_EQ(1, LiveIconCount());
    EXPECT_EQ(32, IconPicture(info.hIcon).width());
    EXPECT_TRUE(DestroyIcon(info.hIcon));
    EXPECT_EQ(0, LiveIconCount());
}

TEST_F(ShellTest, TypeNamesComeFromTheNameAlone)
{
    MakeFile("photo.jpg", "this is not a JPEG");
    MakeFile("noext");
    MakeFolder("f");
    OwnedId photo, noext, folder, drives;
    ASSERT_EQ(S_OK, Parse("C:\\photo.jpg", photo));
    ASSERT_EQ(S_OK, Parse("C:\\noext", noext));
    ASSERT_EQ(S_OK, Parse("C:\\f", folder));
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.put()));
    const std::string jpegType = infoOf(photo.get(), SHGFI_TYPENAME).szTypeName;
    EXPECT_NE(std::string::npos, jpegType.find("JPEG")) << jpegType;
    EXPECT_FALSE(std::string(infoOf(noext.get(), SHGFI_TYPENAME).szTypeName).empty());
    const std::string folderType = infoOf(folder.get(), SHGFI_TYPENAME).szTypeName;
    EXPECT_FALSE(folderType.empty());
    EXPECT_NE(folderType, jpegType);
    EXPECT_EQ("System Folder", std::string(infoOf(drives.get(), SHGFI_TYPENAME).szTypeName));

    ShellDiagnostics::ResetQueryCount();
    infoOf(photo.get(), SHGFI_TYPENAME);
    EXPECT_EQ(1, ShellDiagnostics::QueryCount());
}

TEST_F(ShellTest, FindDataReportsSizeTimeAndAttributes)
{
    MakeFile("big.bin");
    ASSERT_EQ(0, truncate(PosixPath("big.bin").c_str(), (5LL << 30) + 7));  // sparse 5 GiB
    MakeFile("ro.txt", "12345");
    ASSERT_EQ(0, chmod(PosixPath("ro.txt").c_str(), 0444));
    MakeFile(".dot");
    MakeFolder("sub");
    const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 500}};  // 2023-11-14 22:13:20 UTC
    ASSERT_EQ(0, utimensat(AT_FDCWD, PosixPath("ro.txt").c_str(), times, 0));

    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    int seen = 0;
    for (const OwnedId& id : Children(root.get())) {
        WIN32_FIND_DATAA data{};
        ASSERT_EQ(S_OK,
                  SHGetDataFromIDListA(root.get(), id.get(), SHGDFIL_FINDDATA, &data, sizeof data));
        const std::string name = data.cFileName;
        EXPECT_EQ(Name(root.get(), id.get()), name);
        if (name == "big.bin") {
            EXPECT_EQ(1u, data.nFileSizeHigh);
            EXPECT_EQ((1u << 30) + 7, data.nFileSizeLow);
            EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, data.dwFileAttributes);
        } else if (name == "ro.txt") {
            EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, data.dwFileAttributes);
            EXPECT_EQ(5u, data.nFileSizeLow);
            const unsigned long long ticks =
                (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                data.ftLastWriteTime.dwLowDateTime;
            EXPECT_EQ((1700000000ull + 11644473600ull) * 10000000ull + 5, ticks);
        } else if (name == ".dot") {
            EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, data.dwFileAttributes);
        } else if (name == "sub") {
            EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, data.dwFileAttributes);
            EXPECT_EQ(0u, data.nFileSizeLow);
        }
        ++seen;
    }
    EXPECT_EQ(4, seen);

    // Drives have no find data: the call fails and leaves the block alone.
    OwnedId drivesId;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drivesId.put()));
    ComRef<IShellFolder> drives;
    ASSERT_EQ(S_OK,
              desktop->BindToObject(drivesId.get(), nullptr, IID_IShellFolder, drives.putVoid()));
    std::vector<OwnedId> drive = Children(drives.get());
    ASSERT_FALSE(drive.empty());
    WIN32_FIND_DATAA untouched;
    std::memset(&untouched, 0xAB, sizeof untouched);
    EXPECT_TRUE(FAILED(SHGetDataFromIDListA(drives.get(), drive[0].get(), SHGDFIL_FINDDATA,
                                            &untouched, sizeof untouched)));
    EXPECT_EQ(0xABABABABu, untouched.dwFileAttributes);
}

// The find data of a folder's entries come from the folder that was opened:
// renamed, it still answers for its entries; emptied and removed, it answers
// that they are gone. The folder holds one descriptor while it lives.
TEST_F(ShellTest, FindDataComeFromTheOpenFolderWhereverItGoes)
{
    MakeFolder("open");
    MakeFile("open/a.txt", "12345");
    MakeFile("open/b.txt", "123");
    ASSERT_EQ(0, symlink("nowhere", PosixPath("open/dangling").c_str()));
    MakeFolder("again");
    MakeFile("again/c.txt");
    WIN32_FIND_DATAA data;
    // Many folders bound and asked, one after the other, keep nothing open.
    auto bindAndAsk = [&] {
        ComRef<IShellFolder> again = Bind("C:\\again");
        ASSERT_TRUE(again);
        const std::vector<OwnedId> children = Children(again.get());
        ASSERT_EQ(1u, children.size());
        ASSERT_EQ(S_OK, SHGetDataFromIDListA(again.get(), children[0].get(), SHGDFIL_FINDDATA,
                                             &data, sizeof data));
    };
    const std::string under = dir.path().toStdString();
    for (int i = 0; i < 50; ++i) bindAndAsk();
    EXPECT_EQ(0, SettledDescriptors(under, 0));

    ComRef<IShellFolder> folder = Bind("C:\\open");
    ASSERT_TRUE(folder);
    std::map<std::string, OwnedId> ids;
    for (OwnedId& id : Children(folder.get())) {
        const std::string name = Name(folder.get(), id.get());
        ids[name] = std::move(id);
    }
    ASSERT_EQ(3u, ids.size());
    auto findData = [&](const std::string& name, WIN32_FIND_DATAA& into) {
        std::memset(&into, 0xAB, sizeof into);
        return SHGetDataFromIDListA(folder.get(), ids[name].get(), SHGDFIL_FINDDATA, &into,
                                    sizeof into);
    };
    ASSERT_EQ(S_OK, findData("a.txt", data));
    EXPECT_EQ(5u, data.nFileSizeLow);
    EXPECT_STREQ("a.txt", data.cFileName);
    ASSERT_EQ(S_OK, findData("dangling", data));  // the link itself
    EXPECT_STREQ("dangling", data.cFileName);
    EXPECT_EQ(1, SettledDescriptors(under, 1));

    ASSERT_EQ(0, rename(PosixPath("open").c_str(), PosixPath("moved").c_str()));
    ASSERT_EQ(S_OK, findData("b.txt", data));
    EXPECT_EQ(3u, data.nFileSizeLow);

    ASSERT_EQ(0, unlink(PosixPath("moved/a.txt").c_str()));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), findData("a.txt", data));
    EXPECT_EQ(0xABABABABu, data.dwFileAttributes);  // untouched
    ASSERT_EQ(0, unlink(PosixPath("moved/b.txt").c_str()));
    ASSERT_EQ(0, unlink(PosixPath("moved/dangling").c_str()));
    ASSERT_EQ(0, rmdir(PosixPath("moved").c_str()));
    EXPECT_TRUE(FAILED(findData("b.txt", data)));
    EXPECT_EQ(0xABABABABu, data.dwFileAttributes);
    EXPECT_EQ(1, SettledDescriptors(under, 1));
    folder.reset();
    EXPECT_EQ(0, SettledDescriptors(under, 0));
}
