#include "platform/shell/private/FolderReading.h"

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// One block holds about 1500 entries of 30-byte names: few enough system
// calls, and small enough that the first block of a small folder is all.
constexpr size_t kBlockBytes = 64 * 1024;
// The reading thread runs at most this many blocks ahead of the listing.
constexpr size_t kBlocksAhead = 4;

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

void takeAll(const Block& block, const Take& take)
{
    const char* bytes = block.bytes.get();
    for (ssize_t at = 0; at < block.filled;) {
        const auto* entry = reinterpret_cast<const dirent64*>(bytes + at);
        if (entry->d_reclen == 0) break;
        take(*entry);
        at += entry->d_reclen;
    }
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

// The blocks between the reading thread and the listing one. The reader
// fills block n % kBlocksAhead once the lister has taken block n - kBlocksAhead.
class ReadAhead {
public:
    explicit ReadAhead(int fd) : FFd(fd) {}

    // On the reading thread: fills blocks until the end, a failure or stop().
    void read()
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

    // On the listing thread: takes the blocks as they are read.
    int list(const Take& take)
    {
        for (size_t n = 0;; ++n) {
            {
                std::unique_lock<std::mutex> hold(FLock);
                FChanged.wait(hold, [&] { return FRead > n; });
            }
            const Block& block = FBlocks[n % kBlocksAhead];
            if (block.filled <= 0) return block.error;
            takeAll(block, take);
            {
                std::lock_guard<std::mutex> hold(FLock);
                FTaken = n + 1;
            }
            FChanged.notify_all();
        }
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
    int FFd;
    Block FBlocks[kBlocksAhead];
    std::mutex FLock;
    std::condition_variable FChanged;
    size_t FRead = 0;   // blocks read
    size_t FTaken = 0;  // blocks listed
    bool FStopped = false;
};

}  // namespace

int ReadFolderEntries(int fd, const Take& take)
{
    Block first;
    readInto(fd, first);
    if (first.filled <= 0) return first.error;
    takeAll(first, take);
    // A block that came back far from full was most likely the last.
    if (static_cast<size_t>(first.filled) < kBlockBytes / 2) return readHere(fd, first, take);

    auto ahead = std::make_unique<ReadAhead>(fd);
    std::thread reader;
    try {
        reader = std::thread([&] { ahead->read(); });
    } catch (const std::system_error&) {
        return readHere(fd, first, take);
    }
    try {
        const int error = ahead->list(take);
        reader.join();
        return error;
    } catch (...) {
        ahead->stop();
        reader.join();
        throw;
    }
}
