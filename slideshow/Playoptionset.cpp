#include "slideshow/Playoptionset.h"

#include "platform/toolkit/Button.h"
#include "platform/toolkit/CheckBox.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/RadioButton.h"
#include "platform/toolkit/RadioGroup.h"
#include "platform/toolkit/ScrollBar.h"
#include "slideshow/Playinterfaceset.h"

namespace {
// The time boxes are meant for Chinese input.
const char* const kTimeImeName = "中文 (繁體) - 新倉頡";

// Labels size themselves to their caption; only the position is given. The
// font goes first so that the size fits the caption as drawn.
TLabel* placeLabel(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                   const char* caption, TColor color = clWindowText, int fontHeight = -11)
{
    auto* label = NewControl<TLabel>(owner, parent, name);
    label->SetLeft(left);
    label->SetTop(top);
    label->Font()->Color = color;
    label->Font()->Height = fontHeight;
    label->FontChanged();
    label->SetText(caption);
    return label;
}
}  // namespace

TPlayOption::TPlayOption(TComponent* AOwner) : TForm(AOwner)
{
    SetName("PlayOption");
    SetCaption("播放設定介面");
    SetBounds(350, 238, 391, 337);
    SetWindowState(wsNormal);
    FontChanged();

    GroupBox1 = NewControl<TGroupBox>(this, this, "GroupBox1", 8, 8, 369, 289);
    GroupBox1->SetText("播放設定");
    buildChoices();
    buildSpeed();

    PlayOKButton = NewControl<TButton>(this, GroupBox1, "PlayOKButton", 200, 256, 75, 25);
    PlayOKButton->SetText("播放");
    PlayOKButton->OnClick = [this](TObject* sender) { PlayOKButtonClick(sender); };
    // Cancel has no handler: clicking it does nothing.
    PlayClearButton = NewControl<TButton>(this, GroupBox1, "PlayClearButton", 280, 256, 75, 25);
    PlayClearButton->SetText("取消");

    // Tab walks the window as it reads, left to right and top to bottom.
    SetTabOrder({PlayAllRdo, PlaySelectRdo, PlayAssigeRdo, PlayIECkBox, PlayBBSCkBox, PlayFTPCkBox,
                 PlayMailCkBox, PlayFistTimeCbBox, PlayLastTimeCbBox, RadioGroup1, PlaySpeedSlBar,
                 PlayOKButton, PlayClearButton});
    // Escape or Ctrl+W hides the window as its close box does.
    AddCloseKeys();
}

void TPlayOption::buildChoices()
{
    PlayAllRdo = NewControl<TRadioButton>(this, GroupBox1, "PlayAllRdo", 16, 24, 113, 17);
    PlayAllRdo->SetText("全選播放");
    PlayAllRdo->SetChecked(true);
    PlaySelectRdo = NewControl<TRadioButton>(this, GroupBox1, "PlaySelectRdo", 128, 24, 113, 17);
    PlaySelectRdo->SetText("部份播放");
    PlayAssigeRdo = NewControl<TRadioButton>(this, GroupBox1, "PlayAssigeRdo", 232, 24, 113, 17);
    PlayAssigeRdo->SetText("指定違規軟體播放");

    PlayIECkBox = NewControl<TCheckBox>(this, GroupBox1, "PlayIECkBox", 16, 56, 97, 17);
    PlayIECkBox->SetText("IE瀏覽器");
    PlayBBSCkBox = NewControl<TCheckBox>(this, GroupBox1, "PlayBBSCkBox", 104, 56, 97, 17);
    PlayBBSCkBox->SetText("BBS軟體");
    PlayFTPCkBox = NewControl<TCheckBox>(this, GroupBox1, "PlayFTPCkBox", 184, 56, 97, 17);
    PlayFTPCkBox->SetText("FTP軟體");
    PlayMailCkBox = NewControl<TCheckBox>(this, GroupBox1, "PlayMailCkBox", 264, 56, 81, 17);
    PlayMailCkBox->SetText("郵件收發");

    PlayLabel1 = placeLabel(this, GroupBox1, "PlayLabel1", 8, 88, "從");
    PlayFistTimeCbBox =
        NewControl<TComboBox>(this, GroupBox1, "PlayFistTimeCbBox", 25, 84, 145, 21);
    PlayFistTimeCbBox->SetImeName(kTimeImeName);
    PlayLabel2 = placeLabel(this, GroupBox1, "PlayLabel2", 192, 88, "至");
    PlayLastTimeCbBox =
        NewControl<TComboBox>(this, GroupBox1, "PlayLastTimeCbBox", 215, 83, 145, 21);
    PlayLastTimeCbBox->SetImeName(kTimeImeName);
    PlayLabel1->SetFocusControl(PlayFistTimeCbBox);
    PlayLabel2->SetFocusControl(PlayLastTimeCbBox);
    setEnabledStates(false, false);

    PlayAllRdo->OnClick = [this](TObject* sender) { PlayAllRdoClick(sender); };
    PlaySelectRdo->OnClick = [this](TObject* sender) { PlaySelectRdoClick(sender); };
    PlayAssigeRdo->OnClick = [this](TObject* sender) { PlayAssigeRdoClick(sender); };

    RadioGroup1 = NewControl<TRadioGroup>(this, GroupBox1, "RadioGroup1", 0, 120, 369, 57);
    RadioGroup1->SetText("播放大小");
    RadioGroup1->SetColumns(3);
    RadioGroup1->AddItem("全瑩幕");
    RadioGroup1->AddItem("800 x 600");
    RadioGroup1->AddItem("640 x 320");
    RadioGroup1->SetItemIndex(0);
}

void TPlayOption::buildSpeed()
{
    PlayLabel3 = placeLabel(this, GroupBox1, "PlayLabel3", 8, 192, "播放速度");
    PlaySpeedSlBar = NewControl<TScrollBar>(this, GroupBox1, "PlaySpeedSlBar", 80, 192, 265, 17);
    PlaySpeedSlBar->SetKind(sbHorizontal);
    PlaySpeedSlBar->SetMin(1);
    PlaySpeedSlBar->SetMax(5);
    PlaySpeedSlBar->SetPosition(1);
    PlaySpeedSlBar->SetPageSize(0);
    PlayLabel3->SetFocusControl(PlaySpeedSlBar);
    PlayFistText = placeLabel(this, GroupBox1, "PlayFistText", 80, 216, "1秒", clMaroon);
    PlayLastText = placeLabel(this, GroupBox1, "PlayLastText", 328, 216, "5秒", clMaroon);
    PlayLabel4 = placeLabel(this, GroupBox1, "PlayLabel4", 8, 240, "目前設定間隔", clNavy);
    // Shows "5" while the bar stands at 1, until the bar is first moved.
    PlaySpeedLabel = placeLabel(this, GroupBox1, "PlaySpeedLabel", 98, 236, "5", clRed, -16);
    PlayLabel8 = placeLabel(this, GroupBox1, "PlayLabel8", 112, 240, "秒", clNavy);
    // Bound last, so that setting up the bar does not already echo it.
    PlaySpeedSlBar->OnChange = [this](TObject* sender) { PlaySpeedSlBarChange(sender); };
}

void TPlayOption::setEnabledStates(bool checkBoxes, bool comboBoxes)
{
    PlayIECkBox->SetEnabled(checkBoxes);
    PlayBBSCkBox->SetEnabled(checkBoxes);
    PlayFTPCkBox->SetEnabled(checkBoxes);
    PlayMailCkBox->SetEnabled(checkBoxes);
    PlayFistTimeCbBox->SetEnabled(comboBoxes);
    PlayLastTimeCbBox->SetEnabled(comboBoxes);
}

void TPlayOption::PlayAllRdoClick(TObject*)
{
    setEnabledStates(false, false);
}

void TPlayOption::PlaySelectRdoClick(TObject*)
{
    setEnabledStates(false, true);
}

void TPlayOption::PlayAssigeRdoClick(TObject*)
{
    setEnabledStates(true, true);
}

void TPlayOption::PlaySpeedSlBarChange(TObject*)
{
    PlaySpeedLabel->SetText(IntToStr(PlaySpeedSlBar->Position()));
}

void TPlayOption::PlayOKButtonClick(TObject*)
{
    auto* playback = new TPlayInterface(Application);
    playback->Show();
}
