#include "platform/shell/private/FolderReading.h"

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

// One block holds about 1500 entries of 30-byte names: few enough system
// calls, and small enough that the first block of a small folder is all.
constexpr size_t kBlockBytes = 64 * 1024;
// Each reading thread runs at most this many blocks ahead of the listing.
constexpr size_t kBlocksAhead = 4;
// An indexed ext2/3/4 folder hands its entries out in the order of their
// names' hashes, and an entry's offset is its hash (at most 2^63 - 1). Read
// from the start up to this offset and from this offset to the end, at once,
// the two halves hold every entry exactly once, in about half the time.
constexpr off64_t kHalfway = off64_t{1} << 62;
// The end of a source that reads on to the folder's end.
constexpr off64_t kNoEnd = INT64_MAX;

using Take = std::function<void(const dirent64& entry)>;

struct Block {
    std::unique_ptr<char[]> bytes{new char[kBlockBytes]};
    ssize_t filled = 0;  // bytes read; 0 at the end, -1 on a failure
    int error = 0;       // the failure's errno
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

void takeAll(const Block& block, const Take& take)
{
    eachEntry(block, [&](const dirent64& entry, ssize_t) {
        take(entry);
        return true;
    });
}

// Reads and takes block after block on this thread alone.
int readHere(int fd, Block& block, const Take& take)
{
    for (;;) {
        readInto(fd, block);
        if (block.filled <= 0) return block.error;
        takeAll(block, take);
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

// The blocks between the reading threads and the listing one. Each source is
// read by a thread of its own, which fills block n % kBlocksAhead once the
// lister has taken block n - kBlocksAhead of that source.
class ReadAhead {
public:
    // The first source reads fd on from offset, the offset after the block
    // already listed.
    ReadAhead(int fd, off64_t offset)
    {
        FSources[0].fd = fd;
        FSources[0].offset = offset;
    }
    ~ReadAhead()
    {
        if (FCount == 2) close(FSources[1].fd);
    }

    // Before any thread reads: the first source stops at the halfway offset
    // and a second one reads other, which this now owns, from there to the
    // end. unsplit() undoes it.
    void split(int other)
    {
        FSources[0].end = kHalfway;
        FSources[1].fd = other;
        FCount = 2;
    }
    void unsplit()
    {
        close(FSources[1].fd);
        FSources[0].end = kNoEnd;
        FCount = 1;
    }

    // On reading thread s: fills its blocks until its end, a failure or stop().
    void read(size_t s)
    {
        Source& source = FSources[s];
        bool atEnd = false;
        for (size_t n = 0;; ++n) {
            {
                std::unique_lock<std::mutex> hold(FLock);
                FChanged.wait(hold, [&] { return FStopped || n - source.taken < kBlocksAhead; });
                if (FStopped) return;
            }
            Block& block = source.blocks[n % kBlocksAhead];
            if (atEnd) {
                block.filled = 0;
                block.error = 0;
            } else {
                readInto(source.fd, block);
                if (block.filled > 0 && source.end != kNoEnd)
                    atEnd = cutAt(block, source.offset, source.end);
            }
            {
                std::lock_guard<std::mutex> hold(FLock);
                source.read = n + 1;
            }
            FChanged.notify_all();
            if (block.filled <= 0) return;
        }
    }

    // On the listing thread: takes the blocks of every source as they are
    // read. The first failure stops the others and is returned.
    int list(const Take& take)
    {
        size_t ended = 0;
        while (ended < FCount) {
            Source* ready = nullptr;
            {
                std::unique_lock<std::mutex> hold(FLock);
                FChanged.wait(hold, [&] {
                    ready = readySource();
                    return ready != nullptr;
                });
            }
            const Block& block = ready->blocks[ready->taken % kBlocksAhead];
            if (block.filled < 0) {
                stop();
                return block.error;
            }
            if (block.filled == 0) {
                ready->ended = true;
                ++ended;
                continue;
            }
            takeAll(block, take);
            {
                std::lock_guard<std::mutex> hold(FLock);
                ++ready->taken;
            }
            FChanged.notify_all();
        }
        return 0;
    }

    void stop()
    {
        {
            std::lock_guard<std::mutex> hold(FLock);
            FStopped = true;
        }
        FChanged.notify_all();
    }

private:
    struct Source {
        int fd = -1;
        off64_t offset = 0;    // of the next entry to be read
        off64_t end = kNoEnd;  // entries from this offset on are left out
        Block blocks[kBlocksAhead];
        size_t read = 0;   // blocks read
        size_t taken = 0;  // blocks listed
        bool ended = false;
    };

    // A source with a block read and not yet taken; under FLock.
    Source* readySource()
    {
        for (size_t s = 0; s < FCount; ++s)
            if (!FSources[s].ended && FSources[s].read > FSources[s].taken) return &FSources[s];
        return nullptr;
    }

    Source FSources[2];
    size_t FCount = 1;
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FStopped = false;
};

// Starts a thread that runs ahead.read(s); false when none can be had.
bool startReader(std::thread& thread, ReadAhead& ahead, size_t s)
{
    try {
        thread = std::thread([&ahead, s] { ahead.read(s); });
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace

int ReadFolderEntries(int fd, const Take& take)
{
    Block first;
    readInto(fd, first);
    if (first.filled <= 0) return first.error;
    takeAll(first, take);
    // A block that came back far from full was most likely the last.
    if (static_cast<size_t>(first.filled) < kBlockBytes / 2) return readHere(fd, first, take);

    bool rising = false;
    const off64_t offset = offsetAfter(first, &rising);
    ReadAhead ahead(fd, offset);
    std::thread readers[2];
    const auto joinAll = [&] {
        for (std::thread& reader : readers)
            if (reader.joinable()) reader.join();
    };
    if (const int other = secondHalf(fd, offset, rising); other >= 0) {
        ahead.split(other);
        if (!startReader(readers[1], ahead, 1)) ahead.unsplit();
    }
    // Nothing has been read from fd since the first block.
    if (!startReader(readers[0], ahead, 0)) {
        ahead.stop();
        joinAll();
        return readHere(fd, first, take);
    }
    try {
        const int error = ahead.list(take);
        joinAll();
        return error;
    } catch (...) {
        ahead.stop();
        joinAll();
        throw;
    }
}
