#pragma once
// Reading a folder's raw entries from the kernel. Most of the time a large
// folder takes to list is spent in the kernel handing its entries out. An
// indexed ext2/3/4 folder, whose entries come in the order of their names'
// hashes, is read by two threads at once, its hashes cut into parts that each
// thread takes one after another, and each takes the entries it reads
// itself; any other large folder is read ahead on another thread while this
// one takes the blocks already read.

#include <dirent.h>

#include <cstddef>
#include <functional>
#include <sys/types.h>

// One block of entries as the kernel hands them out.
struct EntryBlock {
    const char* bytes;
    ssize_t filled;

    // Calls each(entry) on the entries in order. The name of entry.d_name is
    // ended by a zero.
    template <class Each>
    void ForEach(Each each) const
    {
        for (ssize_t at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(bytes + at);
            if (entry->d_reclen == 0) return;
            each(*entry);
            at += entry->d_reclen;
        }
    }
};

// One block holds about 1500 entries of 30-byte names: few enough system
// calls, and small enough that the first block of a small folder is all.
constexpr size_t kFolderBlockBytes = 64 * 1024;
// The most entries a block holds: the smallest entry takes 24 bytes.
constexpr size_t kEntriesInBlock = kFolderBlockBytes / 24;

// Calls take(block) for every block of entries of the open folder fd, from
// where the folder's offset stands, in the kernel's order ("." and ".."
// included). A failed read ends the listing like its end; its errno is
// returned (0 at the end).
//
// The blocks of a folder read in parts are taken on two threads at once,
// this one and the other parts' reader, so take must allow that;
// any other folder's are taken on this thread, one after another. Whatever
// take() raises is raised here, after the other thread has stopped; no
// block is begun after it (a block the other thread is taking meanwhile is
// taken whole). When no thread can be had, this thread reads every block
// itself.
//
// parts, when not 0, is how many parts an indexed folder is cut into, where
// its size would choose (tests cut a small folder into many).
int ReadFolderEntries(int fd, const std::function<void(const EntryBlock& block)>& take,
                      int parts = 0);
