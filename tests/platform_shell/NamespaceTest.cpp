#include "tests/platform_shell/ShellFixture.h"

#include "platform/shell/ShellDiagnostics.h"

#include <sys/stat.h>
#include <unistd.h>

using NameList = std::vector<std::string>;

// Listing: readdir order is not promised, so names are compared sorted.
TEST_F(ShellTest, ListsFolderContentsByFlags)
{
    MakeFile("a.txt");
    MakeFile(".hidden");
    MakeFolder("sub");
    MakeFolder(".config");
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    EXPECT_EQ((NameList{".config", ".hidden", "a.txt", "sub"}), Names(root.get()));
    EXPECT_EQ((NameList{"a.txt", "sub"}), Names(root.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    EXPECT_EQ((NameList{".config", "sub"}),
              Names(root.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN));
    EXPECT_EQ((NameList{".hidden", "a.txt"}),
              Names(root.get(), SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN));

    ComRef<IShellFolder> sub = Bind("C:\\sub");
    ASSERT_TRUE(sub);
    EXPECT_TRUE(Children(sub.get()).empty());
}

TEST_F(ShellTest, TellsFoldersFromFilesWithoutStatExceptForLinks)
{
    MakeFolder("real");
    MakeFile("file");
    ASSERT_EQ(0, symlink("real", PosixPath("folderlink").c_str()));
    ASSERT_EQ(0, symlink("file", PosixPath("filelink").c_str()));
    ASSERT_EQ(0, symlink("nowhere", PosixPath("broken").c_str()));
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    for (const OwnedId& id : Children(root.get())) {
        const std::string name = Name(root.get(), id.get());
        const bool folder = name == "real" || name == "folderlink";
        EXPECT_EQ(folder ? SFGAO_FOLDER | SFGAO_FILESYSTEM : SFGAO_FILESYSTEM,
                  Attributes(root.get(), id.get()))
            << name;
    }
    // A link to a folder binds and lists what the folder holds.
    MakeFile("real/inside");
    ComRef<IShellFolder> linked = Bind("C:\\folderlink");
    ASSERT_TRUE(linked);
    EXPECT_EQ((NameList{"inside"}), Names(linked.get()));
}

TEST_F(ShellTest, ListsParsesAndBindsNamesThatAreNotUtf8)
{
    const std::string latin1 = "caf\xE9";
    MakeFolder(latin1);
    MakeFile(latin1 + "/photo\xFF.jpg");
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    std::vector<OwnedId> ids = Children(root.get());
    ASSERT_EQ(1u, ids.size());
    EXPECT_EQ(latin1, Name(root.get(), ids[0].get()));
    OwnedId absolute;
    ASSERT_EQ(S_OK, Parse("C:\\", absolute));
    // Parsing name -> wide -> parse again gives the same item.
    const std::string parsing = Name(root.get(), ids[0].get(), SHGDN_FORPARSING);
    EXPECT_EQ("C:\\" + latin1, parsing);
    ComRef<IShellFolder> folder = Bind(parsing);
    ASSERT_TRUE(folder);
    EXPECT_EQ((NameList{"photo\xFF.jpg"}), Names(folder.get()));
    // Qt cannot remove names that are not UTF-8; clear them up here.
    EXPECT_EQ(0, unlink(PosixPath(latin1 + "/photo\xFF.jpg").c_str()));
    EXPECT_EQ(0, rmdir(PosixPath(latin1).c_str()));
}

TEST_F(ShellTest, BindsOnlyFolders)
{
    MakeFile("file.txt");
    OwnedId file;
    ASSERT_EQ(S_OK, Parse("C:\\file.txt", file));
    ComRef<IShellFolder> folder;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DIRECTORY),
              desktop->BindToObject(file.get(), nullptr, IID_IShellFolder, folder.putVoid()));
    EXPECT_FALSE(folder);
    OwnedId root;
    ASSERT_EQ(S_OK, Parse("C:\\", root));
    EXPECT_EQ(E_NOINTERFACE,
              desktop->BindToObject(root.get(), nullptr, IID_IEnumIDList, folder.putVoid()));
    EXPECT_FALSE(folder);
    // The empty list is the desktop itself.
    OwnedId empty;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, empty.put()));
    ASSERT_EQ(S_OK,
              desktop->BindToObject(empty.get(), nullptr, IID_IShellFolder, folder.putVoid()));
    EXPECT_EQ(2u, Children(folder.get()).size());
}

TEST_F(ShellTest, ReportsAFolderThatCannotBeListed)
{
    MakeFolder("gone");
    ComRef<IShellFolder> gone = Bind("C:\\gone");
    ASSERT_TRUE(gone);
    ASSERT_EQ(0, rmdir(PosixPath("gone").c_str()));
    ComRef<IEnumIDList> enumerator;
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), gone->EnumObjects(nullptr, 0xE0, enumerator.put()));
    EXPECT_FALSE(enumerator);
    // Access denied cannot be staged as root, so the switch stands in for it.
    ComRef<IShellFolder> root = Bind("C:\\");
    ShellDiagnostics::FailEnumObjects(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(static_cast<HRESULT>(0x80070005), root->EnumObjects(nullptr, 0xE0, enumerator.put()));
    EXPECT_FALSE(enumerator);
    ShellDiagnostics::FailEnumObjects(S_OK);
    EXPECT_EQ(S_OK, root->EnumObjects(nullptr, 0xE0, enumerator.put()));
}

TEST_F(ShellTest, PresentsTheVirtualFolders)
{
    std::vector<OwnedId> top = Children(desktop.get());
    ASSERT_EQ(2u, top.size());
    EXPECT_EQ("Computer", Name(desktop.get(), top[0].get()));
    EXPECT_EQ("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
              Name(desktop.get(), top[0].get(), SHGDN_FORPARSING));
    EXPECT_EQ(SFGAO_FOLDER, Attributes(desktop.get(), top[0].get()));
    EXPECT_EQ(SFGAO_FOLDER | SFGAO_FILESYSTEM, Attributes(desktop.get(), top[1].get()));

    OwnedId drivesId;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drivesId.put()));
    ComRef<IShellFolder> drives;
    ASSERT_EQ(S_OK,
              desktop->BindToObject(drivesId.get(), nullptr, IID_IShellFolder, drives.putVoid()));
    std::vector<OwnedId> drive = Children(drives.get());
    ASSERT_EQ(1u, drive.size());
    // C: is the temporary folder here, so the drive is named after it.
    const std::string driveName = Name(drives.get(), drive[0].get());
    EXPECT_EQ(dir.path().section('/', -1).toStdString() + " (C:)", driveName);
    EXPECT_EQ("C:\\", Name(drives.get(), drive[0].get(), SHGDN_FORPARSING));
    EXPECT_EQ(SFGAO_FOLDER | SFGAO_FILESYSTEM, Attributes(drives.get(), drive[0].get()));

    // The home folder is $HOME, named in drive form.
    MakeFolder("home");
    MakeFile("home/notes.txt");
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", PosixPath("home").c_str(), 1);
    OwnedId homeId;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, homeId.put()));
    EXPECT_EQ("C:\\home", Name(desktop.get(), homeId.get(), SHGDN_FORPARSING));
    ComRef<IShellFolder> home;
    ASSERT_EQ(S_OK, desktop->BindToObject(homeId.get(), nullptr, IID_IShellFolder, home.putVoid()));
    EXPECT_EQ((NameList{"notes.txt"}), Names(home.get()));
    std::vector<OwnedId> notes = Children(home.get());
    ASSERT_EQ(1u, notes.size());
    EXPECT_EQ("C:\\home\\notes.txt", Name(home.get(), notes[0].get(), SHGDN_FORPARSING));
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ShellTest, NamesAnAbsoluteListInParsingForm)
{
    MakeFolder("a");
    MakeFolder("a/b");
    OwnedId id;
    ASSERT_EQ(S_OK, Parse("C:/a//b/", id));
    EXPECT_EQ("C:\\a\\b", Name(desktop.get(), id.get(), SHGDN_FORPARSING));
    EXPECT_EQ("b", Name(desktop.get(), id.get()));
    OwnedId root;
    ASSERT_EQ(S_OK, Parse("c:", root));
    EXPECT_EQ("C:\\", Name(desktop.get(), root.get(), SHGDN_FORPARSING));
}
