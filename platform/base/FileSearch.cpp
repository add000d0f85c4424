// FindFirst / FindNext / FindClose over namespace paths such as
// "C:\photos\*.jpg" or "/home/ann\*.jpg": the folder is mapped through the
// drive map and read in its own order; the last element is a wildcard matched
// without regard to ASCII case. Only matching entries are stat'ed.

#include "platform/base/Drives.h"
#include "platform/base/FileAttributes.h"
#include "platform/base/FileSystemCalls.h"
#include "platform/base/SysUtils.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>

namespace {

constexpr int kNoMoreFiles = 18;

struct Search {
    DIR* dir;
    std::string pattern;
    int exclude;
};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// '*' any run, '?' one character (a whole UTF-8 sequence), the rest by ASCII
// case-folded equality. Iterative with one backtrack point, so linear-ish.
bool matches(const char* p, const char* n)
{
    const char* starP = nullptr;
    const char* starN = nullptr;
    while (*n) {
        if (*p == '*') {
            starP = ++p;
            starN = n;
        } else if (*p == '?') {
            ++p;
            ++n;
            while (*n && isContinuation(*n)) ++n;
        } else if (*p && lower(*p) == lower(*n)) {
            ++p;
            ++n;
        } else if (starP) {
            p = starP;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (*p == '*') ++p;
    return *p == 0;
}

int dosTime(time_t seconds)
{
    std::tm t{};
    if (!localtime_r(&seconds, &t) || t.tm_year < 80) return 0;
    return ((t.tm_year - 80) << 25) | ((t.tm_mon + 1) << 21) | (t.tm_mday << 16) |
           (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2);
}

mode_t modeFromEntryType(unsigned char type)
{
    switch (type) {
    case DT_DIR: return S_IFDIR;
    case DT_REG: return S_IFREG;
    case DT_FIFO: return S_IFIFO;
    case DT_SOCK: return S_IFSOCK;
    case DT_CHR: return S_IFCHR;
    case DT_BLK: return S_IFBLK;
    case DT_LNK: return S_IFLNK;
    default: return 0;
    }
}

int errorFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    default: return ERROR_NOT_READY;
    }
}

// Reads entries until one matches and passes the attribute mask.
int findMatch(TSearchRec& rec)
{
    auto* search = static_cast<Search*>(rec.FindHandle);
    if (!search) return kNoMoreFiles;
    while (dirent* entry = readdir(search->dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        if (!matches(search->pattern.c_str(), name)) continue;
        struct stat status {};
        const int fd = dirfd(search->dir);
        const auto statusAt = FileSystem().fstatat;
        if (statusAt(fd, name, &status, 0) != 0 &&
            statusAt(fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) continue;  // vanished since readdir
            // A folder that may be read but not searched names its entries
            // and tells nothing more of them: each still counts, with what
            // the folder itself says of its kind.
            status = {};
            status.st_mode = modeFromEntryType(entry->d_type) | S_IWUSR;
        }
        const auto attributes = static_cast<int>(PosixFileAttributes(status, name));
        if (attributes & search->exclude) continue;
        rec.Name = name;
        rec.Attr = attributes;
        rec.Size = static_cast<long long>(status.st_size);
        rec.Time = dosTime(status.st_mtim.tv_sec);
        return 0;
    }
    return kNoMoreFiles;
}

}  // namespace

int FindFirst(const AnsiString& path, int attributes, TSearchRec& rec)
{
    rec.FindHandle = nullptr;
    const size_t cut = path.find_last_of("\\/");
    if (cut == AnsiString::npos) return ERROR_PATH_NOT_FOUND;
    const AnsiString pattern = path.substr(cut + 1);
    // The separator before the pattern is no part of the folder: a POSIX
    // folder path may hold backslashes, but never ends in one it does not own.
    AnsiString folder = cut == 0 ? AnsiString("/") : path.substr(0, cut);
    if (pattern.empty()) return ERROR_FILE_NOT_FOUND;
    const auto posix = NamespaceToPosixPath(folder);
    if (!posix) return ERROR_PATH_NOT_FOUND;
    DIR* dir = opendir(posix->c_str());
    if (!dir) return errorFromErrno(errno);
    rec.ExcludeAttr = ~attributes & (faHidden | faSysFile | faVolumeID | faDirectory);
    // "*.*" means every name, with or without a dot.
    rec.FindHandle = new Search{dir, pattern == "*.*" ? "*" : pattern, rec.ExcludeAttr};
    const int result = findMatch(rec);
    if (result != 0) {
        FindClose(rec);
        return ERROR_FILE_NOT_FOUND;
    }
    return 0;
}

int FindNext(TSearchRec& rec)
{
    return findMatch(rec);
}

void FindClose(TSearchRec& rec)
{
    auto* search = static_cast<Search*>(rec.FindHandle);
    if (!search) return;
    closedir(search->dir);
    delete search;
    rec.FindHandle = nullptr;
}
