#pragma once
// A main window over a temporary drive C:, with helpers to fill the drive
// with test pictures and to read the gallery back.

#include "app/Quillet.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies tests/data/jpeg/<source> to <target> below the drive root.
    void CopyPicture(const std::string& source, const std::string& target) const;
    // The tiles' captions, in gallery order.
    std::vector<AnsiString> Captions() const;
    // The tile image of gallery item index.
    QImage Tile(int index) const;
    // The names the file search returns for pattern, in its order.
    static std::vector<AnsiString> SearchOrder(const AnsiString& pattern);
    void Run(const std::function<void()>& command) { InvokeHandler(command); }

    std::unique_ptr<TempDrive> FDrive;
    TfrmQuillet* FWindow = nullptr;
    RecordingDialogs& FDialogs = RecordingDialogs::Instance();
};

// True when every pixel of image is white.
bool IsBlank(const QImage& image);
