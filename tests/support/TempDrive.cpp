#include "tests/support/TempDrive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

TempDrive::TempDrive()
{
    const char* previous = std::getenv("QUILLET_DRIVES");
    FHadDrives = previous != nullptr;
    if (previous) FPreviousDrives = previous;
    setenv("QUILLET_DRIVES", ("C=" + Root()).c_str(), 1);
    ReloadDriveMap();
}

TempDrive::~TempDrive()
{
    if (FHadDrives)
        setenv("QUILLET_DRIVES", FPreviousDrives.c_str(), 1);
    else
        unsetenv("QUILLET_DRIVES");
    ReloadDriveMap();
    // Qt cannot name files whose names are not UTF-8; remove them by bytes.
    std::error_code ignored;
    std::filesystem::remove_all(Root(), ignored);
}

std::string TempDrive::Root() const
{
    return FDir.path().toStdString();
}

void TempDrive::AddFile(const std::string& relative, size_t size) const
{
    const std::filesystem::path path = std::filesystem::path(Root()) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    const std::string bytes(size, 'x');
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDrive::AddFolder(const std::string& relative) const
{
    std::filesystem::create_directories(std::filesystem::path(Root()) / relative);
}
