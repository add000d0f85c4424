#pragma once
// The drive map: drive letters stand for folders of the POSIX file system.
// C: is "/"; every further mount point under /media, /mnt and /run/media gets
// the next letter. QUILLET_DRIVES ("C=/;D=/srv/photos") replaces the map.

#include "platform/base/SysUtils.h"

#include <optional>
#include <vector>

struct DriveMapping {
    char letter;       // 'C' .. 'Z'
    std::string root;  // absolute POSIX folder, no trailing slash except "/"
};

// The map in force, read once from the environment and the mount table.
const std::vector<DriveMapping>& DriveMap();
// Rereads the environment and the mount table (tests change QUILLET_DRIVES).
void ReloadDriveMap();

// The drive with this letter (either case), or null.
const DriveMapping* FindDrive(char letter);

// A namespace path in drive form split into its drive and its elements:
// separators are '\\' or '/', repeated ones count once, "." is dropped and
// ".." steps back without leaving the drive. None when text is not in drive
// form ("X:" followed by nothing or a separator) or the drive is not mapped.
struct DrivePath {
    const DriveMapping* drive;
    std::vector<std::string> elements;
};
std::optional<DrivePath> SplitDrivePath(const AnsiString& path);
// An absolute POSIX path split the same way, through the drive whose root is
// its longest prefix, except that only '/' separates: a backslash is part of
// a name there. None when no drive covers it.
std::optional<DrivePath> SplitPosixPath(const std::string& path);
// The elements of the absolute POSIX path below root (split at '/' as
// above), none when root does not cover it.
std::optional<std::vector<std::string>> PosixElementsBelow(const std::string& root,
                                                           const std::string& path);
// root joined with the elements by '/'.
std::string JoinPosixPath(const std::string& root, const std::vector<std::string>& elements);

// "C:\home\ann" or "C:/home/ann" or "c:" -> "/home/ann"; an absolute POSIX
// path is returned as it is; anything else (no such drive, relative) -> none.
std::optional<std::string> NamespaceToPosixPath(const AnsiString& path);
// "/home/ann" -> "C:\home\ann", through the drive whose root is the longest
// prefix; none when no drive covers it or the drive form cannot hold it.
std::optional<AnsiString> PosixToNamespacePath(const std::string& path);
// The drive form of a path: "C:\" for the root, else "C:\a\b"; none when an
// element holds a backslash, which that form would take for a separator (such
// a path keeps its POSIX form, where it maps back to its exact bytes).
std::optional<AnsiString> DriveForm(char letter, const std::vector<std::string>& elements);
