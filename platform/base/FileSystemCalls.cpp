#include "platform/base/FileSystemCalls.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

int systemOpen(const char* path, int flags)
{
    return ::open(path, flags);
}

}  // namespace

FileSystemCalls& FileSystem()
{
    static FileSystemCalls calls{::fstatat, systemOpen, ::read};
    return calls;
}
