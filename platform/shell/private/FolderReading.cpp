#include "platform/shell/private/FolderReading.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <linux/magic.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t kBlockBytes = kFolderBlockBytes;
// Each reading thread runs at most this many blocks ahead of the listing.
constexpr size_t kBlocksAhead = 4;
// An indexed ext2/3/4 folder hands its entries out in the order of their
// names' hashes, and an entry's offset is its hash (at most 2^63 - 1). Read
// from a hash up to another, a descriptor set at the first hands out exactly
// the entries whose hashes lie between, so the hashes can be cut into parts
// that two threads read at once, each taking the next part left as it ends
// one: however unevenly the kernel serves them, neither waits long for the
// other at the end.
constexpr int kMostParts = 16;
// A part is at least this much of the folder's own size: reading one ends
// with a block read past its end, and that waste stays small beside it.
constexpr off64_t kFolderBytesAPart = 256 * 1024;
// The end of a source that reads on to the folder's end.
constexpr off64_t kNoEnd = INT64_MAX;

using Take = std::function<void(const EntryBlock& block)>;

struct Block {
    std::unique_ptr<char[]> bytes{new char[kBlockBytes]};
    ssize_t filled = 0;  // bytes read; 0 at the end, -1 on a failure
    int error = 0;       // the failure's errno

    EntryBlock Entries() const { return {bytes.get(), filled}; }
};

void readInto(int fd, Block& block)
{
    do {
        block.filled = getdents64(fd, block.bytes.get(), kBlockBytes);
    } while (block.filled < 0 && errno == EINTR);
    block.error = block.filled < 0 ? errno : 0;
}

// Calls each(entry, at) on the entries of block in order, at being where
// the entry starts in the block, until each returns false.
template <class Each>
void eachEntry(const Block& block, Each each)
{
    for (ssize_t at = 0; at < block.filled;) {
        const auto* entry = reinterpret_cast<const dirent64*>(block.bytes.get() + at);
        if (entry->d_reclen == 0 || !each(*entry, at)) return;
        at += entry->d_reclen;
    }
}

// Reads and takes block after block on this thread alone.
int readHere(int fd, Block& block, const Take& take)
{
    for (;;) {
        readInto(fd, block);
        if (block.filled <= 0) return block.error;
        take(block.Entries());
    }
}

// Ends block before its first entry at or past end; offset is the offset of
// its first entry, and becomes that of the entry after the block. True when
// the block was cut.
bool cutAt(Block& block, off64_t& offset, off64_t end)
{
    ssize_t cut = -1;
    eachEntry(block, [&](const dirent64& entry, ssize_t at) {
        if (offset >= end) {
            cut = at;
            return false;
        }
        offset = entry.d_off;
        return true;
    });
    if (cut < 0) return false;
    block.filled = cut;
    return true;
}

// The offset of the entry after the last one of block, and whether the
// block's entries come in rising order of offset.
off64_t offsetAfter(const Block& block, bool* rising)
{
    off64_t offset = 0;
    *rising = true;
    eachEntry(block, [&](const dirent64& entry, ssize_t) {
        *rising = *rising && entry.d_off >= offset;
        offset = entry.d_off;
        return true;
    });
    return offset;
}

// Whether entry, read from folder fd a moment ago, is still there. Only a
// removal counts: a folder that may be read but not searched gives no answer.
bool stillThere(int fd, const dirent64& entry)
{
    struct stat status {};
    return fstatat(fd, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

// The hashes of an indexed folder from offset on, where its first block
// ended, cut into parts.
class Parts {
public:
    Parts(off64_t offset, int count)
        : FFrom(offset), FStep((kNoEnd - offset) / count), FCount(count)
    {
    }

    int Count() const { return FCount; }
    // Where part starts (the first starts at offset); the last ends at kNoEnd.
    off64_t Start(int part) const { return part >= FCount ? kNoEnd : FFrom + part * FStep; }

private:
    off64_t FFrom;
    off64_t FStep;
    int FCount;
};

// How many parts the rest of fd, an indexed ext2/3/4 folder whose first
// block ends at offset, its entries in rising order, is read in (asked, or
// as its size asks when asked is 0); 0 when it is not such a folder or is
// not worth reading in parts.
int partsOf(int fd, off64_t offset, bool rising, int asked)
{
    struct statfs system {};
    struct stat status {};
    if (!rising || offset >= kNoEnd / 2) return 0;
    if (fstatfs(fd, &system) != 0 || system.f_type != EXT4_SUPER_MAGIC) return 0;
    if (asked > 0) return asked;
    if (fstat(fd, &status) != 0) return 0;
    return static_cast<int>(std::clamp<off64_t>(status.st_size / kFolderBytesAPart, 2, kMostParts));
}

// A descriptor of its own on the folder fd, which parts may seek in; -1
// when none can be had or the folder refuses the seek (an unindexed
// folder's offsets are byte offsets).
int otherReader(int fd, const Parts& parts)
{
    const int other = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (other < 0) return -1;
    if (lseek64(other, parts.Start(1), SEEK_SET) != parts.Start(1)) {
        close(other);
        return -1;
    }
    return other;
}

// The parts of an indexed folder, read by two threads at once, each through
// a descriptor of its own, each taking what it reads itself: reading and
// taking are about as costly as each other, so two threads that each do
// both keep two processors busy without waiting on each other. A thread
// that ends a part goes on with the next one no thread has begun. The
// first failure, of a read or of take, stops both.
class PartsRead {
public:
    PartsRead(const Parts& parts, const Take& take) : FParts(parts), FTake(take) {}

    // On its thread: reads parts through fd until none is left. The thread
    // whose fd stands where the first block ended (at offset) reads the
    // first part first, without a seek.
    void Read(int fd, bool atFirstPart)
    {
        Block block;
        if (atFirstPart && !readFrom(fd, block, FParts.Start(0), FParts.Start(1))) return;
        for (;;) {
            const int part = FNext.fetch_add(1, std::memory_order_relaxed);
            if (part >= FParts.Count() || !readPart(fd, block, part)) return;
        }
    }

    // The first failure: raises what take raised, else returns the errno
    // of the read that failed (0 when none did).
    int Outcome()
    {
        if (FRaised) std::rethrow_exception(FRaised);
        return FError;
    }

private:
    // Reads part from its start, through fd; false once reading stops.
    bool readPart(int fd, Block& block, int part)
    {
        const off64_t start = FParts.Start(part);
        const off64_t end = FParts.Start(part + 1);
        if (!seek(fd, start) || !read(fd, block)) return false;
        if (block.filled == 0) return true;
        // The first entry lies at start or past it, but only the offset of
        // the one after it is known. When that one lies past the part, so
        // may the first: it belongs to the next part exactly when a read from
        // the next part's start hands it out.
        const auto* first = reinterpret_cast<const dirent64*>(block.bytes.get());
        if (end != kNoEnd && first->d_off >= end) {
            bool ours = false;
            if (!startsBefore(fd, *first, end, &ours)) return false;
            // One removed since it was read may have lain in the next part
            // after all, and been taken there before it went.
            if (!ours || !stillThere(fd, *first)) return true;
            block.filled = first->d_reclen;
            return take(block);
        }
        return takeOn(fd, block, start, end);
    }

    // Sets *before to whether entry, the first one read from some start,
    // lies before end: a read from end does not hand it out before the
    // entries past it (names are unique in a folder). Not only the first
    // entry read from end is looked at: one made meanwhile may come first.
    // False once reading stops.
    bool startsBefore(int fd, const dirent64& entry, off64_t end, bool* before)
    {
        Block next;
        if (!seek(fd, end) || !read(fd, next)) return false;
        *before = true;
        off64_t offset = end;  // of the entry looked at, at least
        eachEntry(next, [&](const dirent64& other, ssize_t) {
            // Past the entry after entry: entry would have come already.
            if (offset > entry.d_off) return false;
            if (std::strcmp(other.d_name, entry.d_name) == 0) {
                *before = false;
                return false;
            }
            offset = other.d_off;
            return true;
        });
        return true;
    }

    // Reads fd, whose next entry lies at offset, up to end, taking block
    // after block; false once reading stops.
    bool readFrom(int fd, Block& block, off64_t offset, off64_t end)
    {
        return read(fd, block) && (block.filled == 0 || takeOn(fd, block, offset, end));
    }

    // Takes block, just read and not empty, whose first entry lies at
    // offset, and the blocks that follow it, up to end; false once reading
    // stops.
    bool takeOn(int fd, Block& block, off64_t offset, off64_t end)
    {
        for (;;) {
            const bool last = end != kNoEnd && cutAt(block, offset, end);
            if (!take(block)) return false;
            if (last) return true;
            if (!read(fd, block)) return false;
            if (block.filled == 0) return true;
        }
    }

    bool seek(int fd, off64_t offset)
    {
        if (lseek64(fd, offset, SEEK_SET) == offset) return true;
        fail(errno != 0 ? errno : EIO, nullptr);
        return false;
    }

    // Reads the next block unless reading has stopped; a failed read stops it.
    bool read(int fd, Block& block)
    {
        if (FStopped.load(std::memory_order_relaxed)) return false;
        readInto(fd, block);
        if (block.filled >= 0) return true;
        fail(block.error, nullptr);
        return false;
    }

    bool take(const Block& block)
    {
        try {
            FTake(block.Entries());
            return true;
        } catch (...) {
            fail(0, std::current_exception());
            return false;
        }
    }

    void fail(int error, std::exception_ptr raised)
    {
        const std::lock_guard<std::mutex> hold(FLock);
        if (!FStopped.exchange(true)) {
            FError = error;
            FRaised = std::move(raised);
        }
    }

    const Parts& FParts;
    const Take& FTake;
    std::atomic<int> FNext{1};
    std::atomic<bool> FStopped{false};
    std::mutex FLock;
    int FError = 0;
    std::exception_ptr FRaised;
};

// The blocks between a reading thread and the listing one: the reader fills
// block n % kBlocksAhead once the lister has taken block n - kBlocksAhead.
class ReadAhead {
public:
    // Reads fd on from where it stands.
    explicit ReadAhead(int fd) : FFd(fd) {}

    // On the reading thread: fills blocks until the end, a failure or stop().
    void Read()
    {
        for (size_t n = 0;; ++n) {
            {
                std::unique_lock<std::mutex> hold(FLock);
                FChanged.wait(hold, [&] { return FStopped || n - FTaken < kBlocksAhead; });
                if (FStopped) return;
            }
            Block& block = FBlocks[n % kBlocksAhead];
            readInto(FFd, block);
            {
                std::lock_guard<std::mutex> hold(FLock);
                FRead = n + 1;
            }
            FChanged.notify_all();
            if (block.filled <= 0) return;
        }
    }

    // On the listing thread: takes the blocks as they are read. A failed
    // read is returned.
    int List(const Take& take)
    {
        for (;;) {
            {
                std::unique_lock<std::mutex> hold(FLock);
                FChanged.wait(hold, [&] { return FRead > FTaken; });
            }
            const Block& block = FBlocks[FTaken % kBlocksAhead];
            if (block.filled <= 0) return block.error;
            take(block.Entries());
            {
                std::lock_guard<std::mutex> hold(FLock);
                ++FTaken;
            }
            FChanged.notify_all();
        }
    }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> hold(FLock);
            FStopped = true;
        }
        FChanged.notify_all();
    }

private:
    int FFd;
    Block FBlocks[kBlocksAhead];
    size_t FRead = 0;   // blocks read
    size_t FTaken = 0;  // blocks listed
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FStopped = false;
};

// Starts a thread that runs work; false when none can be had.
template <class Work>
bool startThread(std::thread& thread, Work work)
{
    try {
        thread = std::thread(std::move(work));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

// Reads the rest of fd in parts, through fd and other, two at once, each
// taken on its reader's thread. False, with nothing read, when no thread
// can be had.
bool readParts(int fd, int other, const Parts& parts, const Take& take, int* error)
{
    PartsRead reading(parts, take);
    std::thread second;
    if (!startThread(second, [&reading, other] { reading.Read(other, false); })) return false;
    reading.Read(fd, true);
    second.join();
    *error = reading.Outcome();
    return true;
}

// Reads the rest of fd ahead on another thread while this one takes the
// blocks. False, with nothing read, when no thread can be had.
bool readAhead(int fd, const Take& take, int* error)
{
    ReadAhead ahead(fd);
    std::thread reader;
    if (!startThread(reader, [&ahead] { ahead.Read(); })) return false;
    try {
        *error = ahead.List(take);
    } catch (...) {
        ahead.Stop();
        reader.join();
        throw;
    }
    reader.join();
    return true;
}

}  // namespace

int ReadFolderEntries(int fd, const Take& take, int parts)
{
    Block first;
    readInto(fd, first);
    if (first.filled <= 0) return first.error;
    take(first.Entries());
    // A block that came back far from full was most likely the last.
    if (static_cast<size_t>(first.filled) < kBlockBytes / 2) return readHere(fd, first, take);

    bool rising = false;
    const off64_t offset = offsetAfter(first, &rising);
    int error = 0;
    if (const int count = partsOf(fd, offset, rising, parts); count > 0) {
        const Parts parts(offset, count);
        if (const int other = otherReader(fd, parts); other >= 0) {
            // Closed however the reading ends.
            struct Closing {
                int fd;
                ~Closing() { close(fd); }
            } const closing{other};
            if (readParts(fd, other, parts, take, &error)) return error;
        }
    }
    // Nothing has been read from fd since the first block.
    if (readAhead(fd, take, &error)) return error;
    return readHere(fd, first, take);
}
