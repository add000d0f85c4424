#include "platform/shell/private/FolderReading.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <fcntl.h>
#include <linux/magic.h>
#include <memory>
#include <mutex>
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
// from the start up to this offset and from this offset to the end, at once,
// the two halves hold every entry exactly once, in about half the time.
constexpr off64_t kHalfway = off64_t{1} << 62;
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

// A descriptor of its own on the folder fd, set at the halfway offset, when
// fd is an indexed ext2/3/4 folder whose first block, read and listed, ends
// at offset before the halfway one, its entries in rising order; else -1.
int secondHalf(int fd, off64_t offset, bool rising)
{
    struct statfs system {};
    if (!rising || offset >= kHalfway) return -1;
    if (fstatfs(fd, &system) != 0 || system.f_type != EXT4_SUPER_MAGIC) return -1;
    const int other = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (other < 0) return -1;
    // An unindexed folder's offsets are byte offsets, and this one is refused.
    if (lseek64(other, kHalfway, SEEK_SET) != kHalfway) {
        close(other);
        return -1;
    }
    return other;
}

// The two halves of an indexed folder, each read and taken by a thread of
// its own: reading and taking are about as costly as each other, so two
// threads that each do both keep two processors busy without waiting on
// each other. The first failure, of a read or of take, stops both.
class Halves {
public:
    explicit Halves(const Take& take) : FTake(take) {}

    // On its thread: reads fd from offset (that of the next entry) up to
    // end, and takes what it reads.
    void Read(int fd, off64_t offset, off64_t end)
    {
        Block block;
        while (!FStopped.load(std::memory_order_relaxed)) {
            readInto(fd, block);
            if (block.filled < 0) return fail(block.error, nullptr);
            if (block.filled == 0) return;
            const bool last = end != kNoEnd && cutAt(block, offset, end);
            try {
                FTake(block.Entries());
            } catch (...) {
                return fail(0, std::current_exception());
            }
            if (last) return;
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
    void fail(int error, std::exception_ptr raised)
    {
        const std::lock_guard<std::mutex> hold(FLock);
        if (!FStopped.exchange(true)) {
            FError = error;
            FRaised = std::move(raised);
        }
    }

    const Take& FTake;
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

// Reads the rest of fd, whose first block ended at offset, in two halves at
// once through fd and other (set at the halfway offset), each taken on its
// reader's thread. False, with nothing read, when no thread can be had.
bool readHalves(int fd, int other, off64_t offset, const Take& take, int* error)
{
    Halves halves(take);
    std::thread second;
    if (!startThread(second, [&halves, other] { halves.Read(other, kHalfway, kNoEnd); }))
        return false;
    halves.Read(fd, offset, kHalfway);
    second.join();
    *error = halves.Outcome();
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

int ReadFolderEntries(int fd, const Take& take)
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
    if (const int other = secondHalf(fd, offset, rising); other >= 0) {
        // Closed however the reading ends.
        struct Closing {
            int fd;
            ~Closing() { close(fd); }
        } const closing{other};
        if (readHalves(fd, other, offset, take, &error)) return error;
    }
    // Nothing has been read from fd since the first block.
    if (readAhead(fd, take, &error)) return error;
    return readHere(fd, first, take);
}
