// The thumbnail gallery: one tile per "*.jpg" entry of the open folder.

#include "app/Quillet.h"

#include "platform/base/BidiMarks.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Jpeg.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/GallerySearch.h"
#include "thumbnails/ThumbnailDecoder.h"

#include <deque>
#include <memory>

namespace {

// The search and the decoder of the newest scan. A scan started while
// another one lets messages through stops the older one's search and decodes
// at once, closing its folder and dropping its work: nothing they make will
// be shown, and however many scans wait below the newest one, only the
// newest holds a folder open or keeps the workers busy.
struct ScanWork {
    GallerySearch* search;
    ThumbnailDecoder* decoder;
};
ScanWork* gNewestScan = nullptr;

class NewestScan {
public:
    explicit NewestScan(ScanWork* work) : FOlder(gNewestScan)
    {
        if (FOlder) {
            FOlder->search->Stop();
            FOlder->decoder->Stop();
        }
        gNewestScan = work;
    }
    ~NewestScan() { gNewestScan = FOlder; }
    NewestScan(const NewestScan&) = delete;
    NewestScan& operator=(const NewestScan&) = delete;

private:
    ScanWork* FOlder;
};

// The file of entry name in the scan's folder. The folder is mapped once, and
// the name joined to it as it is, so that a backslash inside a name is never
// taken for a separator.
std::optional<std::string> entryPath(const std::optional<std::string>& folder,
                                     const AnsiString& name)
{
    if (!folder) return std::nullopt;
    return JoinPosixPath(*folder, {name});
}

// Puts the decoded picture on its tile, made at the device pixels it was
// decoded for.
void drawTile(TBitmap& bitmap, const DecodedThumbnail& decoded)
{
    if (!decoded.rect) return;
    if (decoded.drawError) std::rethrow_exception(decoded.drawError);
    TJPEGImage::PaintRendered(bitmap.Canvas(), *decoded.rect, decoded.rendered);
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
    const std::optional<std::string> folderPath = NamespaceToPosixPath(folder);

    // The search runs a few entries ahead of the tiles, so that their files
    // are read and decoded on worker threads while this thread adds tiles;
    // no file-system call of the scan is made on this thread.
    GallerySearch search(folder);
    ThumbnailDecoder decoder(ThumbWidth, ThumbHeight);
    ScanWork work{&search, &decoder};
    const NewestScan newest(&work);
    std::deque<AnsiString> names;
    bool first = true;
    // The first picture is decoded alone, so that it comes soonest.
    auto requestAhead = [&] {
        while (search.Ready() && search.Found() &&
               decoder.Pending() < (first ? 1 : decoder.Capacity())) {
            names.push_back(search.Take());
            decoder.Request(entryPath(folderPath, names.back()));
        }
    };

    // While a picture is still being decoded the window stays responsive; a
    // finished decode wakes the loop. False when the scan was superseded.
    auto waitForNext = [&] {
        while (!decoder.NextReady()) {
            Application->HandleMessage();
            if (superseded()) return false;
        }
        return true;
    };

    // The first picture is searched for and decodes while the old gallery
    // is emptied.
    requestAhead();
    ClearTilesAway(*ImageList1);
    LstViewPicture->Items()->Clear();
    for (;;) {
        // The next name, unless asked for already; the search's progress
        // wakes the loop.
        while (names.empty() && !search.Ready()) {
            Application->HandleMessage();
            if (superseded()) return;
        }
        requestAhead();
        if (names.empty()) return;  // the folder has no further entry
        if (!GalleryFits(ImageList1->Count() + 1, ThumbWidth, ThumbHeight)) {
            ShowMessage(GalleryStopsMessage(ImageList1->Count(), ThumbWidth, ThumbHeight));
            return;
        }
        const AnsiString name = std::move(names.front());
        names.pop_front();
        if (!waitForNext()) return;
        DecodedThumbnail decoded = decoder.TakeNext();
        first = false;
        requestAhead();
        if (decoded.loadFailed) {
            ShowMessage(AnsiString(folder).append("\\").append(name));
            if (superseded()) return;
        }

        // The tile is made at the screen's device pixels. When the tile size
        // or the screen's ratio changed while the scan waited, the picture
        // is decoded again for the new tile, on the workers like the rest,
        // and so are those asked for ahead of it.
        TileDevice device = TileOnDevice(ThumbWidth, ThumbHeight);
        while (!decoded.loadFailed &&
               (decoded.tileWidth != device.width || decoded.tileHeight != device.height)) {
            decoder.Retarget(ThumbWidth, ThumbHeight, entryPath(folderPath, name));
            if (!waitForNext()) return;
            decoded = decoder.TakeNext();
            device = TileOnDevice(ThumbWidth, ThumbHeight);
        }
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetWidth(device.width);
        bitmap->SetHeight(device.height);
        bitmap->SetDevicePixelRatio(device.ratio);
        drawTile(*bitmap, decoded);
        // Only the bitmap holds the tile while the image list takes it.
        decoded = {};

        TListItem* item = LstViewPicture->Items()->Add();
        item->Caption = VisibleBidiControls(name);
        item->ImageIndex = ImageList1->Add(bitmap.get(), nullptr);
        bitmap.reset();

        Application->ProcessMessages();
        if (superseded()) return;
    }
}
