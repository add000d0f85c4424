#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/ImageList.h"

#include <filesystem>

void GalleryTest::SetUp()
{
    WindowTest::SetUp();
    CreateWindow();
}

void GalleryTest::CopyPicture(const std::string& source, const std::string& target) const
{
    const std::filesystem::path to = std::filesystem::path(FDrive->Root()) / target;
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy_file(std::string(QUILLET_TEST_DATA "/jpeg/") + source, to);
}

std::vector<AnsiString> GalleryTest::Captions() const
{
    std::vector<AnsiString> captions;
    TListItems* items = FWindow->LstViewPicture->Items();
    for (int i = 0; i < items->GetCount(); ++i) captions.push_back(items->GetItem(i)->Caption);
    return captions;
}

QImage GalleryTest::Tile(int index) const
{
    const int image = FWindow->LstViewPicture->Items()->GetItem(index)->ImageIndex;
    return FWindow->ImageList1->Image(image).toImage().convertToFormat(QImage::Format_RGB32);
}

std::vector<AnsiString> GalleryTest::SearchOrder(const AnsiString& pattern)
{
    std::vector<AnsiString> names;
    TSearchRec rec;
    if (FindFirst(pattern, faAnyFile, rec) != 0) return names;
    do names.push_back(rec.Name);
    while (FindNext(rec) == 0);
    FindClose(rec);
    return names;
}

bool IsBlank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}
