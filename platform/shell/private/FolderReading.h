#pragma once
// Reading a folder's raw entries from the kernel. Most of the time a large
// folder takes to list is spent in the kernel handing its entries out; the
// work done with each entry in this program is much less. So once a folder
// proves larger than one block, another thread asks the kernel for the
// blocks that follow while this one lists those already read. An indexed
// ext2/3/4 folder, whose entries come in the order of their names' hashes,
// is read by two such threads at once, one for each half of the hashes.

#include <dirent.h>

#include <cstddef>
#include <functional>

// Calls take(entry) on the calling thread for every entry of the open folder
// fd, from where the folder's offset stands, in the kernel's order ("." and
// ".." included). The name of entry->d_name is ended by a zero. A failed read
// ends the listing like its end; its errno is returned (0 at the end).
//
// Whatever take() raises is raised here, after the reading threads have
// stopped; no entry is taken after it. When no thread can be had, this
// thread reads every block itself.
int ReadFolderEntries(int fd, const std::function<void(const dirent64& entry)>& take);
