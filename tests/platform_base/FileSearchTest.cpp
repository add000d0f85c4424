#include "platform/base/Drives.h"
#include "platform/base/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setenv("QUILLET_DRIVES", ("C=" + dir.path().toStdString()).c_str(), 1);
        ReloadDriveMap();
        QDir root(dir.path());
        for (const char* name : {"A.JPG", "b.jpg", "c.txt", ".hidden.jpg", "d.jpg.txt", "e.Jpg"}) {
            QFile file(root.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("12345");
        }
        ASSERT_TRUE(root.mkdir("x.jpg"));
        ASSERT_TRUE(root.mkdir("empty"));
    }
    void TearDown() override
    {
        unsetenv("QUILLET_DRIVES");
        ReloadDriveMap();
    }

    std::set<std::string> find(const AnsiString& pattern, int mask)
    {
        std::set<std::string> names;
        TSearchRec rec;
        for (int r = FindFirst(pattern, mask, rec); r == 0; r = FindNext(rec))
            names.insert(rec.Name);
        FindClose(rec);
        EXPECT_EQ(nullptr, rec.FindHandle);
        return names;
    }

    QTemporaryDir dir;
};

using Names = std::set<std::string>;

}  // namespace

TEST_F(FileSearchTest, MatchesTheWildcardWithoutRegardToCase)
{
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", ".hidden.jpg", "x.jpg"}),
              find("C:\\*.jpg", faAnyFile));
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", ".hidden.jpg", "x.jpg"}),
              find("C:\\\\*.jpg", faAnyFile));
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", ".hidden.jpg", "x.jpg"}),
              find("C:/*.JPG", faAnyFile));
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg"}), find("C:\\?.jpg", faArchive));
    EXPECT_EQ((Names{"d.jpg.txt"}), find("C:\\D*J?G.TXT", faArchive));
    EXPECT_EQ((Names{"c.txt", "d.jpg.txt"}), find("C:\\*.txt", faAnyFile));
    EXPECT_EQ(8u, find("C:\\*.*", faAnyFile).size());  // every name, dot or not
    EXPECT_EQ(8u, find("C:\\*", faAnyFile).size());    // "." and ".." never come back
}

TEST_F(FileSearchTest, SkipsEntriesWithAttributesOutsideTheMask)
{
    // Read-only and archive never exclude; hidden and folder do unless asked for.
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg"}), find("C:\\*.jpg", 0));
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", "x.jpg"}), find("C:\\*.jpg", faDirectory));
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", ".hidden.jpg"}), find("C:\\*.jpg", faHidden));
}

TEST_F(FileSearchTest, FillsTheRecord)
{
    TSearchRec rec;
    ASSERT_EQ(0, FindFirst("C:\\b.jpg", faAnyFile, rec));
    EXPECT_EQ("b.jpg", rec.Name);
    EXPECT_EQ(5, rec.Size);
    EXPECT_EQ(faArchive, rec.Attr);
    EXPECT_NE(0, rec.Time);
    EXPECT_NE(0, FindNext(rec));
    EXPECT_NE(0, FindNext(rec));  // still at the end
    FindClose(rec);
    FindClose(rec);  // twice is harmless
}

TEST_F(FileSearchTest, ReportsFoldersThatCannotBeSearched)
{
    TSearchRec rec;
    EXPECT_NE(0, FindFirst("C:\\empty\\*.jpg", faAnyFile, rec));
    EXPECT_EQ(nullptr, rec.FindHandle);
    EXPECT_NE(0, FindFirst("C:\\missing\\*.jpg", faAnyFile, rec));
    EXPECT_NE(0, FindFirst("C:\\b.jpg\\*.jpg", faAnyFile, rec));
    EXPECT_NE(0, FindFirst("Q:\\*.jpg", faAnyFile, rec));
    EXPECT_NE(0, FindFirst("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\*.jpg", faAnyFile, rec));
    EXPECT_EQ(nullptr, rec.FindHandle);
}

// The folder may be given as a POSIX path, joined to the pattern with a
// backslash as the gallery joins it; a backslash inside the folder's own name
// is part of that name.
TEST_F(FileSearchTest, SearchesPosixFoldersWhateverTheirNamesHold)
{
    const std::string root = dir.path().toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("dir\\bs"));
    QFile file(dir.filePath("dir\\bs/back\\slash.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ((Names{"A.JPG", "b.jpg", "e.Jpg", ".hidden.jpg", "x.jpg"}),
              find(root + "\\*.jpg", faAnyFile));
    EXPECT_EQ((Names{"back\\slash.jpg"}), find(root + "/dir\\bs\\*.jpg", faAnyFile));
    EXPECT_EQ((Names{"dir\\bs"}), find(root + "\\dir*", faAnyFile));
}

namespace {

// Runs check as a user who is not root (root may search any folder): in a
// child process that drops to "nobody" when this one is root. False when the
// check failed or could not be run.
bool AsOrdinaryUser(const std::function<bool()>& check)
{
    if (geteuid() != 0) return check();
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) return false;
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace

// A folder that may be read but not searched (r--) still names its entries;
// every match is reported, though nothing more can be learnt of it.
TEST_F(FileSearchTest, ReportsEntriesOfAFolderThatCannotBeSearched)
{
    QDir root(dir.path());
    ASSERT_TRUE(root.mkdir("locked"));
    for (const char* name : {"a.jpg", "b.jpg", "c.txt"}) {
        QFile file(root.filePath(QString("locked/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(0, chmod(dir.path().toLocal8Bit().constData(), 0755));
    ASSERT_EQ(0, chmod(root.filePath("locked").toLocal8Bit().constData(), 0444));
    const bool reported = AsOrdinaryUser([this] {
        return find("C:\\locked\\*.jpg", faAnyFile) == Names{"a.jpg", "b.jpg"};
    });
    chmod(root.filePath("locked").toLocal8Bit().constData(), 0755);
    EXPECT_TRUE(reported);
}
