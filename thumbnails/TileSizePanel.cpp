// The tile-size panel on the first settings page: two track bars with a
// preview of the tile's proportions, two edits and the apply button.

#include "app/Quillet.h"

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/Panel.h"
#include "platform/toolkit/Splitter.h"
#include "platform/toolkit/TrackBar.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/GallerySearch.h"
#include "thumbnails/GalleryWorkers.h"
#include "thumbnails/TileFit.h"

#include <QWidget>

#include <algorithm>
#include <memory>

namespace {

// The preview shows the tile at this scale; held in extended precision, so
// that positions give exactly floor(2P / 5).
constexpr long double kPreviewScale = 0.4L;
const char* const kImeName = "中文 (繁體) - 新倉頡";

int previewSize(int position)
{
    return static_cast<int>(position * kPreviewScale);
}

void setupTrackBar(TTrackBar* bar)
{
    bar->SetMin(200);
    bar->SetMax(500);
    bar->SetPosition(200);
    bar->SetPageSize(50);
    bar->SetFrequency(50);
    bar->SetLineSize(0);
    bar->SetTickMarks(tmBottomRight);
    bar->SetTickStyle(tsAuto);
}

void setFont(TControl* control, int height)
{
    control->Font()->Name = "MS Sans Serif";
    control->Font()->Height = height;
    control->Font()->Color = clWindowText;
    control->FontChanged();
}

void setupSizeEdit(TEdit* edit)
{
    edit->SetText("200");
    setFont(edit, -19);
    edit->SetBiDiMode(bdRightToLeft);
    edit->SetImeName(kImeName);
}

// Room the panel's controls need, from its top to below the lowest of them,
// with the margin they keep from its edges.
int panelNeed(TPanel* panel)
{
    constexpr int kMargin = 8;
    int bottom = 0;
    for (int i = 0; i < panel->ControlCount(); ++i)
        bottom = std::max(bottom, panel->Controls(i)->Top() + panel->Controls(i)->Height());
    return bottom + kMargin + (panel->Height() - panel->ClientHeight());
}

// On a page too short for the whole layout the empty preview group gives way
// first, down to its caption, so that the edits and the apply button stay in
// view; with room again it grows back to the height it is meant to have.
void fitPreviewGroup(TTabSheet* page, TPanel* panel, TSplitter* splitter, TGroupBox* preview,
                     int wanted)
{
    const int caption = preview->Widget()->minimumSizeHint().height();
    const int room = page->ClientHeight() - splitter->Height() - panelNeed(panel);
    const int height = std::max(caption, std::min(wanted, room));
    if (height != preview->Height()) preview->SetHeight(height);
}

}  // namespace

void TfrmQuillet::CreateTileSizePanel()
{
    // Bottom-aligned controls stack upwards in creation order: the preview
    // group first, so that the splitter sits on top of it and resizes it.
    GroupBox1 = NewControl<TGroupBox>(this, TabSheet1, "GroupBox1");
    GroupBox1->SetAlign(alBottom);
    GroupBox1->SetHeight(239);
    GroupBox1->SetText("圖片預覽區");

    Image1 = NewControl<TImage>(this, GroupBox1, "Image1");
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);

    Splitter2 = NewControl<TSplitter>(this, TabSheet1, "Splitter2");
    Splitter2->SetAlign(alBottom);
    Splitter2->SetHeight(3);
    Splitter2->SetCursor(crVSplit);

    Panel1 = NewControl<TPanel>(this, TabSheet1, "Panel1");
    Panel1->SetAlign(alClient);
    Panel1->SetText("Panel1");
    Panel1->SetAccessibleName("圖片大小設定");

    GroupBox2 = NewControl<TGroupBox>(this, Panel1, "GroupBox2", 8, 8, 253, 314);
    GroupBox2->SetText("圖片大小");

    TakBarWidth = NewControl<TTrackBar>(this, GroupBox2, "TakBarWidth");
    TakBarWidth->SetOrientation(trHorizontal);
    TakBarWidth->SetBounds(26, 17, 217, 25);
    setupTrackBar(TakBarWidth);

    TakBarHeight = NewControl<TTrackBar>(this, GroupBox2, "TakBarHeight");
    TakBarHeight->SetOrientation(trVertical);
    TakBarHeight->SetBounds(5, 37, 26, 217);
    setupTrackBar(TakBarHeight);

    BorderPal = NewControl<TPanel>(this, GroupBox2, "BorderPal", 34, 43, 210, 210);
    BorderPal->SetText("");
    BorderPal->SetColor(clWhite);
    BorderPal->SetAccessibleName("圖片大小預覽");

    PicPalMain = NewControl<TPanel>(this, BorderPal, "PicPalMain", 65, 65, 80, 80);
    PicPalMain->SetText("");
    PicPalMain->SetColor(clAppWorkSpace);
    PicPalMain->SetAccessibleName("圖片比例");

    GroupBox3 = NewControl<TGroupBox>(this, GroupBox2, "GroupBox3", 4, 251, 245, 7);
    GroupBox3->SetText("");

    LabelPicWidth = NewControl<TLabel>(this, GroupBox2, "LabelPicWidth");
    LabelPicWidth->SetAutoSize(false);
    LabelPicWidth->SetBounds(9, 280, 48, 16);
    LabelPicWidth->SetText("寬度");
    setFont(LabelPicWidth, -13);

    EditPicWidth = NewControl<TEdit>(this, GroupBox2, "EditPicWidth", 48, 272, 81, 32);
    setupSizeEdit(EditPicWidth);

    LabelPicHeight = NewControl<TLabel>(this, GroupBox2, "LabelPicHeight");
    LabelPicHeight->SetAutoSize(false);
    LabelPicHeight->SetBounds(132, 279, 45, 16);
    LabelPicHeight->SetText("高度");
    setFont(LabelPicHeight, -13);

    EditPicHeight = NewControl<TEdit>(this, GroupBox2, "EditPicHeight", 168, 272, 81, 32);
    setupSizeEdit(EditPicHeight);

    // Each label names its edit, and the track bar of the same side too.
    LabelPicWidth->SetFocusControl(EditPicWidth);
    LabelPicHeight->SetFocusControl(EditPicHeight);
    TakBarWidth->SetAccessibleName(LabelPicWidth->GetText());
    TakBarHeight->SetAccessibleName(LabelPicHeight->GetText());

    Button1 = NewControl<TButton>(this, Panel1, "Button1", 99, 327, 81, 25);
    Button1->SetText("載入設定值");

    // Bound last: the layout values above must not run the handlers.
    TakBarWidth->OnChange = [this](TObject* Sender) { TakBarWidthChange(Sender); };
    TakBarHeight->OnChange = [this](TObject* Sender) { TakBarHeightChange(Sender); };
    EditPicWidth->OnChange = [this](TObject* Sender) { EditPicWidthChange(Sender); };
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };

    // The preview group's height as laid out or as the user last dragged it.
    auto previewHeight = std::make_shared<int>(GroupBox1->Height());
    Splitter2->OnMoved = [this, previewHeight](TObject*) { *previewHeight = GroupBox1->Height(); };
    TabSheet1->OnResize = [this, previewHeight](TObject*) {
        fitPreviewGroup(TabSheet1, Panel1, Splitter2, GroupBox1, *previewHeight);
    };
}

void TfrmQuillet::TakBarWidthChange(TObject*)
{
    const int position = TakBarWidth->Position();
    PicPalMain->SetWidth(previewSize(position));
    PicPalMain->SetLeft((BorderPal->Width() - PicPalMain->Width()) / 2);
    EditPicWidth->SetText(IntToStr(position));
}

void TfrmQuillet::TakBarHeightChange(TObject*)
{
    const int position = TakBarHeight->Position();
    PicPalMain->SetHeight(previewSize(position));
    PicPalMain->SetTop((BorderPal->Height() - PicPalMain->Height()) / 2);
    EditPicHeight->SetText(IntToStr(position));
}

void TfrmQuillet::EditPicWidthChange(TObject*)
{
    PicPalMain->SetWidth(previewSize(TakBarWidth->Position()));
    PicPalMain->SetLeft((BorderPal->Width() - PicPalMain->Width()) / 2);
}

void TfrmQuillet::Button1Click(TObject*)
{
    // Both texts are converted before anything changes, so a bad height
    // leaves the tile size and the gallery as they were.
    const int width = StrToInt(EditPicWidth->GetText());
    const int height = StrToInt(EditPicHeight->GetText());
    if (!TileSizeAllowed(width, height)) {
        ShowMessage(
            Format("A tile of %d x %d pixels cannot be made: each side must be "
                   "between %d and %d pixels.",
                   width, height, kMinTileSide, kMaxTileSide));
        return;
    }
    // The gallery this size would make of the open folder must fit its
    // memory bound; otherwise nothing changes. The folder is counted on a
    // worker while messages go through; a scan, a newer apply or a close
    // meanwhile makes this press moot, and nothing changes either.
    const unsigned generation = FScanGeneration;
    const std::optional<long long> tiles = CountGalleryEntries(
        FCurrentPath, [&] { return generation != FScanGeneration || Application->Terminated(); });
    if (!tiles) return;
    if (!GalleryFits(*tiles, width, height)) {
        ShowMessage(GalleryTooLargeMessage(*tiles, width, height));
        return;
    }
    ThumbWidth = width;
    // The resize discards the tiles; they are freed away from this thread.
    ClearTilesAway(*ImageList1);
    ImageList1->SetWidth(ThumbWidth);
    ThumbHeight = height;
    ImageList1->SetHeight(ThumbHeight);
    BuildThumbnails();
}
