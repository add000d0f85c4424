#include "platform/base/Drives.h"
#include "platform/base/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

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
