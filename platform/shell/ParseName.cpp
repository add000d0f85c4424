// Path texts to absolute item id lists: the drives folder's parsing name,
// drive paths ("C:\a\b", "c:/a", "C:") and absolute POSIX paths. The item
// must exist (stat follows symbolic links).

#include "platform/base/Drives.h"
#include "platform/shell/private/NamespaceFolder.h"
#include "platform/shell/private/ShellInternals.h"

#include <cerrno>
#include <strings.h>
#include <sys/stat.h>

namespace {

bool isDriveForm(const AnsiString& text)
{
    const char c = text.size() >= 2 ? text[0] : '\0';
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && text[1] == ':';
}

// Status for a path whose stat failed with error: a missing parent makes it
// a missing path rather than a missing file.
HRESULT missingStatus(const DrivePath& path, int error)
{
    if (error != ENOENT && error != ENOTDIR) return StatusFromErrno(error);
    if (path.elements.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_READY);  // drive root gone
    std::vector<std::string> parent(path.elements.begin(), path.elements.end() - 1);
    struct stat status {};
    const std::string parentPath = JoinPosixPath(path.drive->root, parent);
    if (error == ENOENT && stat(parentPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// A POSIX path no drive covers may still lie in the home folder, whose
// parsing names take that form then.
HRESULT ParseBelowHome(const AnsiString& text, ItemId::Bytes& entries, bool& folder)
{
    const auto elements = PosixElementsBelow(HomePath(), text);
    if (!elements) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    const std::string posix = JoinPosixPath(HomePath(), *elements);
    struct stat status {};
    if (stat(posix.c_str(), &status) != 0)
        return StatusFromErrno(errno == ENOTDIR ? ENOENT : errno);
    ItemId::AppendHome(entries);
    for (size_t i = 0; i < elements->size(); ++i) {
        const bool last = i + 1 == elements->size();
        if (!ItemId::AppendEntry(entries, (*elements)[i].c_str(), !last || S_ISDIR(status.st_mode)))
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    folder = S_ISDIR(status.st_mode);
    return S_OK;
}

}  // namespace

HRESULT ParseNamespacePath(const AnsiString& text, ItemId::Bytes& entries, bool& folder)
{
    entries.clear();
    if (text.empty()) return E_INVALIDARG;
    if (strcasecmp(text.c_str(), kDrivesFolderParsingName) == 0) {
        ItemId::AppendDrivesFolder(entries);
        folder = true;
        return S_OK;
    }
    std::optional<DrivePath> path;
    if (isDriveForm(text)) {
        if (!FindDrive(text[0])) return HRESULT_FROM_WIN32(ERROR_INVALID_DRIVE);
        path = SplitDrivePath(text);
        if (!path) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);  // "C:name"
    } else if (text[0] == '/') {
        path = SplitPosixPath(text);
        if (!path) return ParseBelowHome(text, entries, folder);
    } else {
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    const std::string posix = JoinPosixPath(path->drive->root, path->elements);
    struct stat status {};
    if (stat(posix.c_str(), &status) != 0) return missingStatus(*path, errno);
    ItemId::AppendDrivesFolder(entries);
    ItemId::AppendDrive(entries, path->drive->letter);
    // Every element but the last is a folder, or the stat above had failed.
    for (size_t i = 0; i < path->elements.size(); ++i) {
        const bool last = i + 1 == path->elements.size();
        if (!ItemId::AppendEntry(entries, path->elements[i].c_str(),
                                 !last || S_ISDIR(status.st_mode)))
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    folder = S_ISDIR(status.st_mode);
    return S_OK;
}

HRESULT StatusFromErrno(int error)
{
    switch (error) {
    case ENOENT: return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    case EACCES:
    case EPERM: return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case ENOTDIR: return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
    case ENAMETOOLONG: return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    case ENOMEM: return E_OUTOFMEMORY;
    // Too many symbolic links on the way: a loop, a name with no end.
    case ELOOP: return HRESULT_FROM_WIN32(ERROR_CANT_RESOLVE_FILENAME);
    default: return HRESULT_FROM_WIN32(ERROR_NOT_READY);
    }
}
