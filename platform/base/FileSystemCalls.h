#pragma once
// The file-system calls that may wait on a slow disk when the gallery reads a
// folder or a picture: an entry's status, and a picture's open and read. They
// go through one table so that a test can stand in a slow or stuck disk and
// see which thread makes each call.

#include <sys/stat.h>
#include <sys/types.h>

struct FileSystemCalls {
    int (*fstatat)(int dirFd, const char* path, struct stat* status, int flags);
    int (*open)(const char* path, int flags);
    ssize_t (*read)(int fd, void* buffer, size_t count);
};

// The calls in force: the system's own unless a test replaced them.
FileSystemCalls& FileSystem();
