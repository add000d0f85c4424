#pragma once
// A temporary folder that stands as drive C: while the fixture lives, with
// helpers to fill it.

#include "platform/base/Drives.h"

#include <QTemporaryDir>

#include <string>

class TempDrive {
public:
    TempDrive();
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    // The POSIX path of the drive root, without a trailing slash.
    std::string Root() const;
    // Creates a file (with size bytes) or a folder below the root; parents are made.
    void AddFile(const std::string& relative, size_t size = 0) const;
    void AddFolder(const std::string& relative) const;

private:
    QTemporaryDir FDir;
    std::string FPreviousDrives;
    bool FHadDrives;
};
