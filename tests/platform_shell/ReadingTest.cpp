#include "tests/platform_shell/ShellFixture.h"

#include "platform/shell/private/FolderReading.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Called with the offset before each seek of a folder while a test sets it;
// set and cleared only while no folder is being read.
std::function<void(off64_t offset)> gBeforeSeek;

}  // namespace

// The reading seeks through this, which stands before the C library's, so a
// test can act at the moment a reading thread seeks.
extern "C" off64_t lseek64(int fd, off64_t offset, int whence) noexcept
{
    if (gBeforeSeek && whence == SEEK_SET) gBeforeSeek(offset);
    return syscall(SYS_lseek, fd, offset, whence);
}

namespace {

// Enough 40-byte names to fill many of the kernel's blocks, so the folder is
// read by a second thread while this one lists it.
constexpr int kMany = 6000;

std::string ManyName(int i)
{
    char name[64];
    std::snprintf(name, sizeof name, "a name long enough to fill blocks %05d", i);
    return name;
}

// A descriptor, closed when done.
struct OpenFolder {
    explicit OpenFolder(const std::string& path, int flags = O_DIRECTORY)
        : fd(open(path.c_str(), O_RDONLY | flags))
    {
    }
    ~OpenFolder()
    {
        if (fd >= 0) close(fd);
    }
    int fd;
};

// How many descriptors this process has open on the folder at path. Only
// those count: the sanitizers' and the C library's own short-lived
// descriptors (a /proc or /sys file read by another thread) come and go at
// any moment.
int DescriptorsOn(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return -1;
    const std::string target = real;
    free(real);
    int count = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(fds)) {
            char link[PATH_MAX];
            const std::string name = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t length = readlink(name.c_str(), link, sizeof link);
            if (length > 0 && std::string(link, static_cast<size_t>(length)) == target) ++count;
        }
        closedir(fds);
    }
    return count;
}

// Makes a large folder at path: kMany files, a FIFO, a subfolder and a link
// to it. Returns the names ReadFolderEntries should hand out, sorted.
std::vector<std::string> MakeMany(const std::string& path)
{
    std::vector<std::string> expected = {".", "..", "fifo", "link", "sub"};
    if (mkdir(path.c_str(), 0700) != 0) return {};
    for (int i = 0; i < kMany; ++i) {
        expected.push_back(ManyName(i));
        const int file = open((path + "/" + expected.back()).c_str(), O_CREAT | O_WRONLY, 0600);
        if (file < 0) return {};
        close(file);
    }
    if (mkfifo((path + "/fifo").c_str(), 0600) != 0 || mkdir((path + "/sub").c_str(), 0700) != 0 ||
        symlink("sub", (path + "/link").c_str()) != 0)
        return {};
    std::sort(expected.begin(), expected.end());
    return expected;
}

bool OnExt4(int fd)
{
    struct statfs system {};
    return fstatfs(fd, &system) == 0 && system.f_type == EXT4_SUPER_MAGIC;
}

// Reads the folder at path whole and checks that every entry came once. An
// indexed ext2/3/4 folder is read in parts (as many as parts asks, or as its
// size asks), two at once, each taken on the thread that reads it, the
// other thread through a descriptor of its own, open only while the folder
// is read; a folder on any other file system is read through its own
// descriptor alone, ahead of this thread, which takes every block.
void ExpectEveryEntryOnce(const std::string& path, const std::vector<std::string>& expected,
                          int parts = 0)
{
    OpenFolder folder(path);
    ASSERT_GE(folder.fd, 0);
    const bool inParts = OnExt4(folder.fd);
    std::mutex taking;
    std::vector<std::string> names;
    std::set<std::thread::id> takers;
    const int before = DescriptorsOn(path);
    int during = 0;
    EXPECT_EQ(0, ReadFolderEntries(
                     folder.fd,
                     [&](const EntryBlock& block) {
                         const std::lock_guard<std::mutex> hold(taking);
                         takers.insert(std::this_thread::get_id());
                         block.ForEach([&](const dirent64& entry) {
                             names.emplace_back(entry.d_name);
                             if (names.size() == kMany / 2) during = DescriptorsOn(path);
                         });
                     },
                     parts));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(expected, names) << parts << " parts";
    // The other thread may find every part taken by the time it starts: that
    // it shares them out is checked where this thread is held up.
    EXPECT_LE(takers.size(), inParts ? 2u : 1u);
    EXPECT_TRUE(takers.count(std::this_thread::get_id()));
    EXPECT_EQ(inParts ? before + 1 : before, during);
    EXPECT_EQ(before, DescriptorsOn(path));
}

}  // namespace

// A large folder is read on other threads too: every entry is taken once,
// FIFOs and links included; a failure raised while taking stops the
// reading, and no block is begun after it.
TEST_F(ShellTest, ReadsALargeFolderOnOtherThreadsToo)
{
    const std::vector<std::string> expected = MakeMany(PosixPath("many"));
    ASSERT_FALSE(expected.empty());
    ExpectEveryEntryOnce(PosixPath("many"), expected);
    // Cut into more parts than it has blocks, and more than it has entries
    // past its first block: parts that hold one entry or none, whose first
    // entry read may belong to the part after them.
    for (const int parts : {7, 300, 2500}) ExpectEveryEntryOnce(PosixPath("many"), expected, parts);

    // Raised in the first block, the middle one and the last: the failure
    // comes out here once the other half's thread has stopped (it may still
    // begin a block or two while the failure unwinds, never one after), and
    // one raised in the first block, before any other thread reads, ends
    // the reading there.
    for (const int failAt : {1, 2, 4}) {
        OpenFolder folder(PosixPath("many"));
        std::atomic<int> blocks{0};
        std::atomic<bool> failed{false};
        EXPECT_THROW(ReadFolderEntries(folder.fd,
                                       [&](const EntryBlock&) {
                                           if (++blocks == failAt) {
                                               failed = true;
                                               throw std::runtime_error("full");
                                           }
                                       }),
                     std::runtime_error);
        EXPECT_TRUE(failed.load());
        const int taken = blocks.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(taken, blocks.load()) << "a block was taken after the failure came out";
        if (failAt == 1) {
            EXPECT_EQ(1, taken);
        }
    }

    // A descriptor that is not a folder ends at once with its error.
    OpenFolder file(PosixPath("many/" + ManyName(0)), 0);
    ASSERT_GE(file.fd, 0);
    int none = 0;
    EXPECT_EQ(ENOTDIR, ReadFolderEntries(file.fd, [&](const EntryBlock&) { ++none; }));
    EXPECT_EQ(0, none);
}

// The parts of an indexed folder are shared out as the threads get free:
// while this thread is held up in its first part, the other reads every
// part after it, far more than half of the folder.
TEST_F(ShellTest, ReadsTheOtherPartsWhileOneThreadIsHeldUp)
{
    const std::vector<std::string> expected = MakeMany(PosixPath("many"));
    ASSERT_FALSE(expected.empty());
    OpenFolder folder(PosixPath("many"));
    ASSERT_GE(folder.fd, 0);
    if (!OnExt4(folder.fd)) GTEST_SKIP() << "not on ext4: read by one thread ahead";

    const size_t enough = expected.size() * 3 / 5;
    const std::thread::id self = std::this_thread::get_id();
    std::mutex taking;
    std::condition_variable taken;
    size_t byOther = 0;
    int ownBlocks = 0;
    bool heldTooLong = false;
    EXPECT_EQ(0, ReadFolderEntries(
                     folder.fd,
                     [&](const EntryBlock& block) {
                         std::unique_lock<std::mutex> hold(taking);
                         if (std::this_thread::get_id() != self) {
                             block.ForEach([&](const dirent64&) { ++byOther; });
                             taken.notify_all();
                         } else if (++ownBlocks == 2) {
                             // The first block was read before the parts began.
                             heldTooLong = !taken.wait_for(hold, std::chrono::seconds(30),
                                                           [&] { return byOther >= enough; });
                         }
                     },
                     8));
    EXPECT_FALSE(heldTooLong) << "the other thread took only " << byOther << " of "
                              << expected.size();
}

// While other names are made, renamed and removed all the time, every entry
// that stays is read exactly once, and no name comes twice, however the
// folder is cut into parts. A name is never made again once it has gone, so
// each one stands for a single entry.
TEST_F(ShellTest, ReadsEveryLastingEntryOnceWhileOthersComeAndGo)
{
    const std::string path = PosixPath("many");
    const std::vector<std::string> lasting = MakeMany(path);
    ASSERT_FALSE(lasting.empty());

    std::atomic<bool> done{false};
    std::atomic<int> changes{0};
    // Stopped and joined however the test ends, a failed assertion included.
    struct Changing {
        std::atomic<bool>& done;
        std::thread thread;
        ~Changing()
        {
            done = true;
            if (thread.joinable()) thread.join();
        }
    } changing{done, {}};
    changing.thread = std::thread([&] {
        // Each name passes through being made, renamed and removed.
        const auto churn = [&](const char* kind, int i) {
            return path + "/" + kind + " " + std::to_string(i) + " and some more of it";
        };
        for (int i = 0; !done.load(); ++i) {
            const int file = open(churn("made", i).c_str(), O_CREAT | O_WRONLY, 0600);
            if (file >= 0) close(file);
            if (i >= 100) rename(churn("made", i - 100).c_str(), churn("moved", i - 100).c_str());
            if (i >= 200) unlink(churn("moved", i - 200).c_str());
            ++changes;
        }
    });

    for (int round = 0; round < 12; ++round) {
        const int parts = round % 4 == 0 ? 0 : round % 4 == 1 ? 7 : round % 4 == 2 ? 300 : 2500;
        OpenFolder folder(path);
        ASSERT_GE(folder.fd, 0);
        std::mutex taking;
        std::vector<std::string> names;
        EXPECT_EQ(0, ReadFolderEntries(
                         folder.fd,
                         [&](const EntryBlock& block) {
                             const std::lock_guard<std::mutex> hold(taking);
                             block.ForEach(
                                 [&](const dirent64& entry) { names.emplace_back(entry.d_name); });
                         },
                         parts));
        std::sort(names.begin(), names.end());
        const auto twice = std::adjacent_find(names.begin(), names.end());
        EXPECT_EQ(names.end(), twice) << *twice << " came twice, " << parts << " parts";
        std::vector<std::string> missing;
        std::set_difference(lasting.begin(), lasting.end(), names.begin(), names.end(),
                            std::back_inserter(missing));
        EXPECT_TRUE(missing.empty()) << missing.size() << " lasting entries missing, the first "
                                     << missing.front() << ", " << parts << " parts";
    }
    done = true;
    changing.thread.join();
    EXPECT_GT(changes.load(), 12) << "the folder hardly changed while it was read";
}

// An empty part's reader reads first the entry that begins the next part,
// and looks for it where that part begins. When the entry is removed just
// then, after the next part's reader took it, it must not be taken again.
TEST_F(ShellTest, TakesAnEntryRemovedWhileItWasReadOnlyOnce)
{
    const std::string path = PosixPath("many");
    const std::vector<std::string> lasting = MakeMany(path);
    ASSERT_FALSE(lasting.empty());
    OpenFolder folder(path);
    ASSERT_GE(folder.fd, 0);
    if (!OnExt4(folder.fd)) GTEST_SKIP() << "not on ext4: read by one thread ahead";

    // Where each entry lies (an entry's offset is the one its forerunner
    // gives as the next), and where the first block ends.
    std::vector<std::pair<off64_t, std::string>> entries;
    off64_t firstEnd = -1;
    {
        std::vector<char> block(kFolderBlockBytes);
        off64_t offset = 0;
        for (long filled; (filled = getdents64(folder.fd, block.data(), block.size())) > 0;) {
            EntryBlock{block.data(), filled}.ForEach([&](const dirent64& entry) {
                entries.emplace_back(offset, entry.d_name);
                offset = entry.d_off;
            });
            if (firstEnd < 0) firstEnd = offset;
        }
        ASSERT_EQ(0, lseek64(folder.fd, 0, SEEK_SET));
    }
    // The rest is cut evenly into parts from there. Aimed at: an empty part
    // after one of two entries or more, whose reader is the only one that
    // seeks from its start to its end.
    constexpr int kParts = 2500;
    const off64_t step = (INT64_MAX - firstEnd) / kParts;
    const auto holding = [&](off64_t from, off64_t to) {
        return std::count_if(entries.begin(), entries.end(), [&](const auto& entry) {
            return entry.first >= from && entry.first < to;
        });
    };
    off64_t emptyStart = -1;
    std::string next;
    for (int part = 2; part + 2 < kParts && emptyStart < 0; ++part) {
        const off64_t start = firstEnd + part * step;
        if (holding(start, start + step) != 0 || holding(start - step, start) < 2) continue;
        const auto after = std::find_if(entries.begin(), entries.end(), [&](const auto& entry) {
            return entry.first >= start + step;
        });
        if (after == entries.end()) continue;
        emptyStart = start;
        next = after->second;
    }
    ASSERT_GE(emptyStart, 0) << "no empty part after a full one among " << kParts;

    std::mutex taking;
    std::condition_variable taken;
    std::vector<std::string> names;
    bool aimed = false;
    bool removed = false;
    static thread_local off64_t lastSeek = -1;
    gBeforeSeek = [&](off64_t offset) {
        const off64_t previous = std::exchange(lastSeek, offset);
        if (previous != emptyStart || offset != emptyStart + step) return;
        // This thread read the empty part and met the next part's first
        // entry: once the other thread has taken it, it goes.
        std::unique_lock<std::mutex> hold(taking);
        aimed = true;
        removed = taken.wait_for(hold, std::chrono::seconds(30), [&] {
            return std::count(names.begin(), names.end(), next) > 0;
        }) && unlink((path + "/" + next).c_str()) == 0;
    };
    const int error = ReadFolderEntries(
        folder.fd,
        [&](const EntryBlock& block) {
            const std::lock_guard<std::mutex> hold(taking);
            block.ForEach([&](const dirent64& entry) { names.emplace_back(entry.d_name); });
            taken.notify_all();
        },
        kParts);
    gBeforeSeek = nullptr;
    EXPECT_EQ(0, error);
    ASSERT_TRUE(aimed) << "the empty part's reader never looked past it";
    ASSERT_TRUE(removed) << next << " was not taken before it was removed";
    EXPECT_EQ(1, std::count(names.begin(), names.end(), next)) << next;
    std::sort(names.begin(), names.end());
    EXPECT_TRUE(lasting == names) << names.size() << " names read of " << lasting.size();
}

// Through the enumerator: the large folder lists whole and in order, the link
// to a folder among the folders and the FIFO among the files.
TEST_F(ShellTest, EnumeratesALargeFolderWhole)
{
    MakeFolder("many");
    for (int i = 0; i < kMany; ++i) MakeFile("many/" + ManyName(i));
    ASSERT_EQ(0, mkfifo(PosixPath("many/fifo").c_str(), 0600));
    MakeFolder("many/sub");
    ASSERT_EQ(0, symlink("sub", PosixPath("many/link").c_str()));

    ComRef<IShellFolder> folder = Bind("C:\\many");
    ASSERT_TRUE(folder);
    std::vector<std::string> names;
    for (const OwnedId& id : Children(folder.get())) names.push_back(Name(folder.get(), id.get()));
    ASSERT_EQ(static_cast<size_t>(kMany + 3), names.size());
    EXPECT_EQ("link", names[0]);
    EXPECT_EQ("sub", names[1]);
    EXPECT_EQ(ManyName(0), names[2]);
    EXPECT_EQ(ManyName(kMany - 1), names[kMany + 1]);
    EXPECT_EQ("fifo", names[kMany + 2]);
}

// The same folder in memory (tmpfs), whose offsets are not hashes: read by
// one thread ahead, every entry once.
TEST(FolderReading, ReadsALargeFolderInMemoryWhole)
{
    QTemporaryDir memory("/dev/shm/quillet-reading-XXXXXX");
    if (!memory.isValid()) GTEST_SKIP() << "no /dev/shm";
    const std::string path = memory.path().toStdString() + "/many";
    const std::vector<std::string> expected = MakeMany(path);
    ASSERT_FALSE(expected.empty());
    ExpectEveryEntryOnce(path, expected);
}
