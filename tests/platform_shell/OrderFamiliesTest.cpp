// The enumerator's order against std::sort by CompareIDs, on sets of names
// made to strain it (NameFamilies.h): in memory with one thread and with two,
// and in real folders on tmpfs and on the disk, where the kernel's reading
// order (creation order, or the order of the names' hashes) decides which
// name of a family the sort meets first.
//
// QUILLET_ORDER_SETS=n checks n sets in memory (and n/20 in each kind of
// folder) instead of the defaults, and
// QUILLET_ORDER_SEED=s starts at seed s (bench/sort_order.sh runs it long).

#include "tests/platform_shell/NameFamilies.h"
#include "tests/platform_shell/ShellFixture.h"

#include "platform/base/Drives.h"
#include "platform/shell/private/FolderOrder.h"
#include "platform/shell/private/ItemId.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <linux/magic.h>
#include <memory>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// The folder tests check a twentieth as many sets as the one in memory.
int SetsToCheck(int byDefault, int fraction = 1)
{
    const char* sets = std::getenv("QUILLET_ORDER_SETS");
    return sets && *sets ? std::max(1, std::atoi(sets) / fraction) : byDefault;
}

std::uint64_t FirstSeed()
{
    const char* seed = std::getenv("QUILLET_ORDER_SEED");
    return seed && *seed ? std::strtoull(seed, nullptr, 10) : 1;
}

// The names of ids as the caller's own sort orders them: std::sort by
// CompareIDs, whose CODE field is negative when the first comes first.
std::vector<std::string> SortedByCompareIDs(IShellFolder* folder, std::vector<LPITEMIDLIST> ids)
{
    std::sort(ids.begin(), ids.end(), [folder](LPITEMIDLIST a, LPITEMIDLIST b) {
        return static_cast<short>(folder->CompareIDs(0, a, b) & 0xFFFF) < 0;
    });
    std::vector<std::string> names;
    for (LPITEMIDLIST id : ids)
        names.emplace_back(ItemId::EntryName(reinterpret_cast<const BYTE*>(id)));
    return names;
}

// A set of names and which of them are folders (about one in eight).
struct NameSet {
    std::vector<std::string> names;
    std::vector<bool> folders;
};

NameSet MakeSet(std::uint64_t seed, size_t most)
{
    NameFamilies families(seed);
    NameSet set;
    set.names = families.Make(2 + families.Below(most));
    for (size_t i = 0; i < set.names.size(); ++i) set.folders.push_back(families.Below(8) == 0);
    return set;
}

// set's names sorted by CompareIDs of folder, through ids made for them.
std::vector<std::string> ExpectedOrder(IShellFolder* folder, const NameSet& set)
{
    std::vector<OwnedId> owned;
    std::vector<LPITEMIDLIST> ids;
    for (size_t i = 0; i < set.names.size(); ++i) {
        const std::string& name = set.names[i];
        owned.emplace_back(ItemId::NewEntryList(name.c_str(), name.size(), set.folders[i],
                                                NaturalSortKey(name.c_str()).high));
        ids.push_back(owned.back().get());
    }
    return SortedByCompareIDs(folder, ids);
}

std::string Shown(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += "  [" + name + "]\n";
    return text;
}

// The first place two orders part, for the message.
std::string FirstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& got)
{
    size_t at = 0;
    while (at < expected.size() && at < got.size() && expected[at] == got[at]) ++at;
    const auto around = [at](const std::vector<std::string>& names) {
        const size_t from = at > 2 ? at - 2 : 0;
        return Shown({names.begin() + static_cast<std::ptrdiff_t>(std::min(from, names.size())),
                      names.begin() + static_cast<std::ptrdiff_t>(std::min(at + 3, names.size()))});
    };
    return "first difference at " + std::to_string(at) + "\nexpected:\n" + around(expected) +
           "got:\n" + around(got);
}

}  // namespace

// The names as a folder lists them (shuffled, and sorted by their bytes
// forward and backward, so that a family's shortest name comes first or
// last), sorted by one thread and by two that share every group they can.
TEST_F(ShellTest, SortsFamiliesOfNamesInMemoryAsCompareIDs)
{
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    const int sets = SetsToCheck(3000);
    const std::uint64_t first = FirstSeed();
    for (std::uint64_t seed = first; seed < first + static_cast<std::uint64_t>(sets); ++seed) {
        NameSet set = MakeSet(seed, 400);
        const std::vector<std::string> expected = ExpectedOrder(root.get(), set);
        std::vector<size_t> reading(set.names.size());
        for (size_t i = 0; i < reading.size(); ++i) reading[i] = i;
        for (int order = 0; order < 3; ++order) {
            if (order == 0)
                std::shuffle(reading.begin(), reading.end(), std::mt19937_64(seed));
            else
                std::sort(reading.begin(), reading.end(), [&](size_t a, size_t b) {
                    return (set.names[a] < set.names[b]) == (order == 1);
                });
            std::string block;
            std::vector<ListedEntry> listed;
            for (size_t i : reading) {
                const std::string& name = set.names[i];
                listed.push_back(ListName(name.c_str(), name.size(),
                                          static_cast<std::uint32_t>(block.size()),
                                          set.folders[i]));
                block.append(name.c_str(), name.size() + 1);
            }
            for (const std::ptrdiff_t sharedFrom : {kSortSharedFrom, std::ptrdiff_t{16}}) {
                std::vector<ListedEntry> sorted = listed;
                SortListed(sorted.data(), sorted.data() + sorted.size(), block.data(), sharedFrom);
                std::vector<std::string> got;
                for (const ListedEntry& entry : sorted)
                    got.emplace_back(block.data() + entry.offset);
                ASSERT_TRUE(expected == got) << "seed " << seed << ", reading order " << order
                                             << ", shared from " << sharedFrom << "\n"
                                             << FirstDifference(expected, got);
            }
        }
    }
}

namespace {

// A folder of names on some file system, mapped as a drive of its own.
class FamilyFolders : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // tmpfs where the machine has it; the disk the build lies on.
        if (struct statfs fs{}; statfs("/dev/shm", &fs) == 0 && fs.f_type == TMPFS_MAGIC)
            memory = std::make_unique<QTemporaryDir>("/dev/shm/quillet-order-XXXXXX");
        disk = std::make_unique<QTemporaryDir>(QUILLET_TEST_DISK_DIR "/quillet-order-XXXXXX");
        ASSERT_TRUE(disk->isValid());
        std::string drives = "C=" + dir.path().toStdString() + ";E=" + disk->path().toStdString();
        if (memory && memory->isValid()) drives += ";D=" + memory->path().toStdString();
        setenv("QUILLET_DRIVES", drives.c_str(), 1);
        ReloadDriveMap();
    }

    void TearDown() override
    {
        // Names that are not UTF-8 are beyond QTemporaryDir's removal.
        for (QTemporaryDir* made : {memory.get(), disk.get()})
            if (made && made->isValid()) RemoveBelow(made->path().toStdString());
        ShellTest::TearDown();
    }

    static void RemoveBelow(const std::string& root)
    {
        nftw(
            root.c_str(),
            [](const char* path, const struct stat*, int, struct FTW* at) {
                if (at->level > 0) remove(path);
                return 0;
            },
            16, FTW_DEPTH | FTW_PHYS);
    }

    // Checks sets of names in folders made in root (a drive root), each
    // made in the order the set was made or backward.
    void CheckFolders(const std::string& drive, const std::string& root, int sets)
    {
        const std::uint64_t first = FirstSeed();
        for (std::uint64_t seed = first; seed < first + static_cast<std::uint64_t>(sets); ++seed) {
            NameSet set = MakeSet(seed * 7919, 300);
            const std::string folder = root + "/" + std::to_string(seed);
            ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
            std::vector<size_t> making(set.names.size());
            for (size_t i = 0; i < making.size(); ++i)
                making[i] = seed % 2 ? i : making.size() - 1 - i;
            for (size_t i : making) {
                const std::string path = folder + "/" + set.names[i];
                if (set.folders[i]) {
                    ASSERT_EQ(0, mkdir(path.c_str(), 0755)) << path;
                } else {
                    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
                    ASSERT_GE(fd, 0) << path;
                    close(fd);
                }
            }
            ComRef<IShellFolder> contents = Bind(drive + ":\\" + std::to_string(seed));
            ASSERT_TRUE(contents);
            std::vector<OwnedId> ids = Children(contents.get());
            std::vector<LPITEMIDLIST> raw;
            std::vector<std::string> got;
            for (const OwnedId& id : ids) {
                raw.push_back(id.get());
                got.emplace_back(ItemId::EntryName(reinterpret_cast<const BYTE*>(id.get())));
            }
            const std::vector<std::string> expected = SortedByCompareIDs(contents.get(), raw);
            ASSERT_TRUE(expected == got) << drive << ": seed " << seed << "\n"
                                         << FirstDifference(expected, got);
        }
    }

    std::unique_ptr<QTemporaryDir> memory;
    std::unique_ptr<QTemporaryDir> disk;
};

}  // namespace

TEST_F(FamilyFolders, EnumeratesFamiliesOfNamesOnTmpfsAsCompareIDs)
{
    if (!memory || !memory->isValid()) GTEST_SKIP() << "no tmpfs at /dev/shm";
    CheckFolders("D", memory->path().toStdString(), SetsToCheck(150, 20));
}

TEST_F(FamilyFolders, EnumeratesFamiliesOfNamesOnDiskAsCompareIDs)
{
    struct statfs fs {};
    ASSERT_EQ(0, statfs(disk->path().toStdString().c_str(), &fs));
    // ext2/3/4 hands entries out in the order of their names' hashes.
    if (fs.f_type != EXT4_SUPER_MAGIC)
        std::printf("note: the build's disk is not ext2/3/4 (type 0x%lx)\n",
                    static_cast<unsigned long>(fs.f_type));
    CheckFolders("E", disk->path().toStdString(), SetsToCheck(60, 20));
}
