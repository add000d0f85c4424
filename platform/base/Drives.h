#pragma once
// The drive map: drive letters stand for folders of the POSIX file system.
// C: is "/"; every further mount point under /media, /mnt and /run/media gets
// the next letter. QUILLET_DRIVES ("C=/;D=/srv/photos") replaces the map.

#include "platform/base/SysUtils.h"

#include <optional>
#include <vector>

struct DriveMapping {
    char letter;          // 'C' .. 'Z'
    std::string root;     // absolute POSIX folder, no trailing slash except "/"
};

// The map in force, read once from the environment and the mount table.
const std::vector<DriveMapping>& DriveMap();
// Rereads the environment and the mount table (tests change QUILLET_DRIVES).
void ReloadDriveMap();

// "C:\home\ann" or "C:/home/ann" or "c:" -> "/home/ann"; an absolute POSIX
// path is returned as it is; anything else (no such drive, relative) -> none.
std::optional<std::string> NamespaceToPosixPath(const AnsiString& path);
// "/home/ann" -> "C:\home\ann", through the drive whose root is the longest
// prefix; none when no drive covers it.
std::optional<AnsiString> PosixToNamespacePath(const std::string& path);
