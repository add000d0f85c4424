#include "slideshow/Playinterfaceset.h"

#include "platform/toolkit/Image.h"
#include "platform/toolkit/SpeedButton.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/Timer.h"
#include "platform/toolkit/ToolBar.h"
#include "slideshow/PlaybackGlyphs.h"

#include <QPixmap>

namespace {
// Every button of the bar is this size, side by side from the left edge.
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 39;
constexpr int kButtonTop = 2;

TSpeedButton* placeButton(TComponent* owner, TToolBar* bar, const char* name, int position,
                          const char* caption, const QPixmap& glyph)
{
    auto* button = NewControl<TSpeedButton>(owner, bar, name, position * kButtonWidth, kButtonTop,
                                            kButtonWidth, kButtonHeight);
    button->SetFlat(true);
    button->SetText(caption);
    button->SetGlyph(glyph);
    return button;
}
}  // namespace

TPlayInterface::TPlayInterface(TComponent* AOwner) : TForm(AOwner)
{
    SetName("PlayInterface");
    SetCaption("播放介面");
    SetBounds(160, 116, 696, 480);
    SetWindowState(wsMaximized);
    FontChanged();

    // Tab walks the seven buttons left to right; Escape or Ctrl+W hides the
    // window as its close box does.
    buildToolBar();
    AddCloseKeys();

    StatusBar1 = NewControl<TStatusBar>(this, this, "StatusBar1");
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetHeight(19);
    StatusBar1->SetAccessibleName("狀態列");

    // Nothing ever loads a picture: the area stays empty.
    Image1 = NewControl<TImage>(this, this, "Image1");
    Image1->SetAlign(alClient);
    Image1->SetAccessibleName("圖片");

    // Runs without a handler, so it never triggers anything.
    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(1000);
    Timer1->SetEnabled(true);
}

void TPlayInterface::buildToolBar()
{
    ToolBar1 = NewControl<TToolBar>(this, this, "ToolBar1");
    ToolBar1->SetAlign(alTop);
    ToolBar1->SetHeight(46);
    ToolBar1->SetButtonWidth(80);
    ToolBar1->SetButtonHeight(kButtonHeight);
    ToolBar1->SetAccessibleName("播放控制");

    PlayFsPlaySpButton = placeButton(this, ToolBar1, "PlayFsPlaySpButton", 0, "開始", PlayGlyph());
    PlayFsStopSpButton = placeButton(this, ToolBar1, "PlayFsStopSpButton", 1, "暫停", StopGlyph());
    PlayFsGoSpButton = placeButton(this, ToolBar1, "PlayFsGoSpButton", 2, "前進", ForwardGlyph());
    PlayFsBackSpButton = placeButton(this, ToolBar1, "PlayFsBackSpButton", 3, "後退", BackGlyph());
    // Zoom and print have no handlers; print cannot even be pressed.
    SpeedButton1 = placeButton(this, ToolBar1, "SpeedButton1", 4, "放大", ZoomInGlyph());
    SpeedButton2 = placeButton(this, ToolBar1, "SpeedButton2", 5, "縮小", ZoomOutGlyph());
    SpeedButton3 = placeButton(this, ToolBar1, "SpeedButton3", 6, "列印", PrinterGlyph());
    SpeedButton3->SetEnabled(false);

    // Which of the four was pressed last shows in red on black captions;
    // readers get it as a checked state. The other three captions keep the
    // palette's colour, so that they stay readable on a dark one.
    for (TSpeedButton* button :
         {PlayFsPlaySpButton, PlayFsStopSpButton, PlayFsGoSpButton, PlayFsBackSpButton}) {
        button->SetFontColor(clBlack);
        button->SetAccessibleState(true, false);
    }

    PlayFsPlaySpButton->OnClick = [this](TObject* sender) { PlayFsPlaySpButtonClick(sender); };
    PlayFsStopSpButton->OnClick = [this](TObject* sender) { PlayFsStopSpButtonClick(sender); };
    PlayFsGoSpButton->OnClick = [this](TObject* sender) { PlayFsGoSpButtonClick(sender); };
    PlayFsBackSpButton->OnClick = [this](TObject* sender) { PlayFsBackSpButtonClick(sender); };
}

void TPlayInterface::highlight(TSpeedButton* pressed)
{
    const bool turnOn = pressed->Font()->Color == clBlack;
    for (TSpeedButton* button :
         {PlayFsPlaySpButton, PlayFsStopSpButton, PlayFsGoSpButton, PlayFsBackSpButton}) {
        const bool on = turnOn && button == pressed;
        button->SetFontColor(on ? clRed : clBlack);
        button->SetAccessibleState(true, on);
    }
}

void TPlayInterface::PlayFsPlaySpButtonClick(TObject*)
{
    highlight(PlayFsPlaySpButton);
}

void TPlayInterface::PlayFsStopSpButtonClick(TObject*)
{
    highlight(PlayFsStopSpButton);
}

void TPlayInterface::PlayFsGoSpButtonClick(TObject*)
{
    highlight(PlayFsGoSpButton);
}

void TPlayInterface::PlayFsBackSpButtonClick(TObject*)
{
    highlight(PlayFsBackSpButton);
}
