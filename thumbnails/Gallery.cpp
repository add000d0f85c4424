// The thumbnail gallery: one tile per "*.jpg" entry of the open folder.

#include "app/Quillet.h"

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Jpeg.h"
#include "thumbnails/ThumbnailDecoder.h"
#include "thumbnails/TileFit.h"

#include <deque>
#include <memory>

namespace {

// How long the scan waits for a decode before letting messages through.
constexpr std::chrono::milliseconds kDecodeWaitSlice{15};

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

// Puts the decoded picture on the tile. A tile whose size changed since the
// picture was decoded for it is drawn here from the loaded picture.
void drawTile(TBitmap& bitmap, const DecodedThumbnail& decoded)
{
    if (bitmap.Width() == decoded.tileWidth && bitmap.Height() == decoded.tileHeight) {
        if (!decoded.rect) return;
        if (decoded.drawError) std::rethrow_exception(decoded.drawError);
        TJPEGImage::PaintRendered(bitmap.Canvas(), *decoded.rect, decoded.rendered);
        return;
    }
    TJPEGImage* picture = decoded.picture.get();
    if (const auto rect = FitPictureInTile(static_cast<float>(picture->Width()),
                                           static_cast<float>(picture->Height()), bitmap.Width(),
                                           bitmap.Height()))
        bitmap.Canvas()->StretchDraw(*rect, picture);
}

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

    const AnsiString folder = FCurrentPath;
    FileSearch search;
    const bool found = search.First(folder + "\\*.jpg", faAnyFile);

    // The search runs a few entries ahead of the tiles, so that their files
    // are read and decoded on worker threads while this thread adds tiles.
    ThumbnailDecoder decoder(ThumbWidth, ThumbHeight);
    std::deque<AnsiString> names;
    bool searching = true;
    bool first = true;
    // The first picture is decoded alone, so that it comes soonest.
    auto requestAhead = [&] {
        while (searching && decoder.Pending() < (first ? 1 : decoder.Capacity())) {
            names.push_back(search.Name());
            decoder.Request(folder + "\\" + search.Name());
            searching = search.Next();
        }
    };

    // The first picture decodes while the old gallery is emptied; nothing
    // lets messages through in between.
    if (found) requestAhead();
    ImageList1->Clear();
    LstViewPicture->Items()->Clear();
    while (!names.empty()) {
        const AnsiString name = std::move(names.front());
        names.pop_front();
        const AnsiString fileName = folder + "\\" + name;
        // The first tile comes before any message; while a later one is
        // still being decoded the window stays responsive.
        if (!first) {
            while (!decoder.NextReady(kDecodeWaitSlice)) {
                Application->ProcessMessages();
                if (superseded()) return;
            }
        }
        DecodedThumbnail decoded = decoder.TakeNext();
        first = false;
        requestAhead();
        if (decoded.loadFailed) {
            ShowMessage(fileName);
            if (superseded()) return;
        }

        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetWidth(ThumbWidth);
        bitmap->SetHeight(ThumbHeight);
        drawTile(*bitmap, decoded);

        TListItem* item = LstViewPicture->Items()->Add();
        item->Caption = name;
        item->ImageIndex = ImageList1->Add(bitmap.get(), nullptr);
        decoded = {};
        bitmap.reset();

        Application->ProcessMessages();
        if (superseded()) return;
    }
}
