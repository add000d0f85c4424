// The thumbnail gallery: one tile per "*.jpg" entry of the open folder.

#include "app/Quillet.h"

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Jpeg.h"
#include "thumbnails/TileFit.h"

#include <memory>

namespace {

// Closes a file search that found something, however the scan ends.
class FileSearch {
public:
    FileSearch() = default;
    ~FileSearch()
    {
        if (FOpen) FindClose(FRec);
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    bool First(const AnsiString& pattern, int attributes)
    {
        FOpen = FindFirst(pattern, attributes, FRec) == 0;
        return FOpen;
    }
    bool Next() { return FindNext(FRec) == 0; }
    const AnsiString& Name() const { return FRec.Name; }

private:
    TSearchRec FRec;
    bool FOpen = false;
};

}  // namespace

void TfrmQuillet::ToolButton1Click(TObject*)
{
    LstViewPicture->SetVisible(true);
    BuildThumbnails();
}

void TfrmQuillet::BuildThumbnails()
{
    const unsigned generation = ++FScanGeneration;
    // A newer scan ran while this one let messages through, or the program
    // is closing: this scan has nothing more to add.
    auto superseded = [this, generation] {
        return generation != FScanGeneration || Application->Terminated();
    };

    ImageList1->Clear();
    LstViewPicture->Items()->Clear();

    const AnsiString folder = FCurrentPath;
    FileSearch search;
    if (!search.First(folder + "\\*.jpg", faAnyFile)) return;
    do {
        const AnsiString name = search.Name();
        const AnsiString fileName = folder + "\\" + name;
        auto picture = std::make_unique<TJPEGImage>();
        try {
            picture->LoadFromFile(fileName);
        } catch (const std::exception&) {
            ShowMessage(fileName);
            if (superseded()) return;
        }

        auto bitmap = std::make_unique<TBitmap>();
        const float width = static_cast<float>(picture->Width());
        const float height = static_cast<float>(picture->Height());
        bitmap->SetWidth(ThumbWidth);
        bitmap->SetHeight(ThumbHeight);
        if (const auto rect = FitPictureInTile(width, height, bitmap->Width(), bitmap->Height()))
            bitmap->Canvas()->StretchDraw(*rect, picture.get());

        TListItem* item = LstViewPicture->Items()->Add();
        item->Caption = name;
        item->ImageIndex = ImageList1->Add(bitmap.get(), nullptr);
        picture.reset();
        bitmap.reset();

        Application->ProcessMessages();
        if (superseded()) return;
    } while (search.Next());
}
