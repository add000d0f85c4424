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
#include "thumbnails/TileFit.h"

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

}  // namespace

void TfrmQuillet::CreateTileSizePanel()
{
    // Bottom-aligned controls stack upwards in creation order: the preview
    // group first, so that the splitter sits on top of it and resizes it.
    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetParent(TabSheet1);
    GroupBox1->SetAlign(alBottom);
    GroupBox1->SetHeight(239);
    GroupBox1->SetText("圖片預覽區");

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(GroupBox1);
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);

    Splitter2 = new TSplitter(this);
    Splitter2->SetName("Splitter2");
    Splitter2->SetParent(TabSheet1);
    Splitter2->SetAlign(alBottom);
    Splitter2->SetHeight(3);
    Splitter2->SetCursor(crVSplit);

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(TabSheet1);
    Panel1->SetAlign(alClient);
    Panel1->SetText("Panel1");

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetName("GroupBox2");
    GroupBox2->SetParent(Panel1);
    GroupBox2->SetBounds(8, 8, 253, 314);
    GroupBox2->SetText("圖片大小");

    TakBarWidth = new TTrackBar(this);
    TakBarWidth->SetName("TakBarWidth");
    TakBarWidth->SetParent(GroupBox2);
    TakBarWidth->SetOrientation(trHorizontal);
    TakBarWidth->SetBounds(26, 17, 217, 25);
    setupTrackBar(TakBarWidth);

    TakBarHeight = new TTrackBar(this);
    TakBarHeight->SetName("TakBarHeight");
    TakBarHeight->SetParent(GroupBox2);
    TakBarHeight->SetOrientation(trVertical);
    TakBarHeight->SetBounds(5, 37, 26, 217);
    setupTrackBar(TakBarHeight);

    BorderPal = new TPanel(this);
    BorderPal->SetName("BorderPal");
    BorderPal->SetParent(GroupBox2);
    BorderPal->SetBounds(34, 43, 210, 210);
    BorderPal->SetText("");
    BorderPal->SetColor(clWhite);

    PicPalMain = new TPanel(this);
    PicPalMain->SetName("PicPalMain");
    PicPalMain->SetParent(BorderPal);
    PicPalMain->SetBounds(65, 65, 80, 80);
    PicPalMain->SetText("");
    PicPalMain->SetColor(clAppWorkSpace);

    GroupBox3 = new TGroupBox(this);
    GroupBox3->SetName("GroupBox3");
    GroupBox3->SetParent(GroupBox2);
    GroupBox3->SetBounds(4, 251, 245, 7);
    GroupBox3->SetText("");

    LabelPicWidth = new TLabel(this);
    LabelPicWidth->SetName("LabelPicWidth");
    LabelPicWidth->SetParent(GroupBox2);
    LabelPicWidth->SetAutoSize(false);
    LabelPicWidth->SetBounds(9, 280, 48, 16);
    LabelPicWidth->SetText("寬度");
    setFont(LabelPicWidth, -13);

    EditPicWidth = new TEdit(this);
    EditPicWidth->SetName("EditPicWidth");
    EditPicWidth->SetParent(GroupBox2);
    EditPicWidth->SetBounds(48, 272, 81, 32);
    setupSizeEdit(EditPicWidth);

    LabelPicHeight = new TLabel(this);
    LabelPicHeight->SetName("LabelPicHeight");
    LabelPicHeight->SetParent(GroupBox2);
    LabelPicHeight->SetAutoSize(false);
    LabelPicHeight->SetBounds(132, 279, 45, 16);
    LabelPicHeight->SetText("高度");
    setFont(LabelPicHeight, -13);

    EditPicHeight = new TEdit(this);
    EditPicHeight->SetName("EditPicHeight");
    EditPicHeight->SetParent(GroupBox2);
    EditPicHeight->SetBounds(168, 272, 81, 32);
    setupSizeEdit(EditPicHeight);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(Panel1);
    Button1->SetBounds(99, 327, 81, 25);
    Button1->SetText("載入設定值");

    // Bound last: the layout values above must not run the handlers.
    TakBarWidth->OnChange = [this](TObject* Sender) { TakBarWidthChange(Sender); };
    TakBarHeight->OnChange = [this](TObject* Sender) { TakBarHeightChange(Sender); };
    EditPicWidth->OnChange = [this](TObject* Sender) { EditPicWidthChange(Sender); };
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
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
        ShowMessage(Format("A tile of %d x %d pixels cannot be made: each side must be "
                           "between %d and %d pixels.",
                           width, height, kMinTileSide, kMaxTileSide));
        return;
    }
    ThumbWidth = width;
    ImageList1->SetWidth(ThumbWidth);
    ThumbHeight = height;
    ImageList1->SetHeight(ThumbHeight);
    BuildThumbnails();
}
