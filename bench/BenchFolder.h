#pragma once
// Large benchmark folders, made once and kept for later runs: a marker file
// says the folder is complete.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

// Entries of an open folder other than ".", ".." and the marker.
inline long CountMadeEntries(const std::string& path)
{
    long count = 0;
    DIR* dir = opendir(path.c_str());
    if (!dir) return -1;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 &&
            std::strcmp(name, ".complete") != 0)
            ++count;
    }
    closedir(dir);
    return count;
}

// Makes entries empty files in path, entry i named by name(i) (no folder
// part); where folder(i) holds, a sub-folder instead. A run cut short
// resumes where it stopped. A folder that cannot be made whole (no space, no
// inodes, names that repeat) is never marked complete: the program stops with
// the reason, as figures over a short folder would be wrong.
template <class Name, class Folder>
void MakeFolderOnce(const std::string& path, int entries, Name name, Folder folder)
{
    const std::string done = path + "/.complete";
    if (access(done.c_str(), F_OK) == 0) return;
    mkdir(path.c_str(), 0755);
    const int dir = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        std::exit(1);
    }
    std::printf("making %d entries in %s ...\n", entries, path.c_str());
    std::fflush(stdout);
    for (int i = 0; i < entries; ++i) {
        const std::string entry = name(i);
        bool made = true;
        if (folder(i)) {
            made = mkdirat(dir, entry.c_str(), 0755) == 0 || errno == EEXIST;
        } else {
            const int fd = openat(dir, entry.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            made = fd >= 0;
            if (made) close(fd);
        }
        if (!made) {
            std::fprintf(stderr, "cannot make entry %d of %s: %s\n", i, path.c_str(),
                         std::strerror(errno));
            std::exit(1);
        }
    }
    close(dir);
    const long made = CountMadeEntries(path);
    if (made != entries) {
        std::fprintf(stderr, "%s holds %ld entries, not %d: the names repeat\n", path.c_str(), made,
                     entries);
        std::exit(1);
    }
    std::ofstream(done).put('\n');
}
