#pragma once
// Large benchmark folders, made once and kept for later runs: a marker file
// says the folder is complete.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

// Makes entries empty files in path, entry i named by name(i) (no folder
// part); where folder(i) holds, a sub-folder instead.
template <class Name, class Folder>
void MakeFolderOnce(const std::string& path, int entries, Name name, Folder folder)
{
    const std::string done = path + "/.complete";
    if (access(done.c_str(), F_OK) == 0) return;
    mkdir(path.c_str(), 0755);
    std::printf("making %d entries in %s ...\n", entries, path.c_str());
    std::fflush(stdout);
    for (int i = 0; i < entries; ++i) {
        const std::string entry = path + "/" + name(i);
        if (folder(i)) {
            mkdir(entry.c_str(), 0755);
        } else {
            const int fd = open(entry.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0) close(fd);
        }
    }
    std::ofstream(done).put('\n');
}
