#pragma once
// A main window over a temporary drive C:, with helpers to fill the drive
// with test pictures and to read the gallery back.

#include "tests/support/WindowTest.h"

#include <string>
#include <vector>

class GalleryTest : public WindowTest {
protected:
    void SetUp() override;

    // Copies tests/data/jpeg/<source> to <target> below the drive root.
    void CopyPicture(const std::string& source, const std::string& target) const;
    // The tiles' captions, in gallery order.
    std::vector<AnsiString> Captions() const;
    // The tile image of gallery item index.
    QImage Tile(int index) const;
    // The names the file search returns for pattern, in its order.
    static std::vector<AnsiString> SearchOrder(const AnsiString& pattern);
};

// True when every pixel of image is white.
bool IsBlank(const QImage& image);
