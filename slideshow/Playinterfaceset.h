#pragma once
// The playback window: a tool bar of start, pause, forward, back, zoom and
// print buttons over an empty picture area and a status bar. The caption of
// the playback button pressed last is red; pressing the red one again clears
// the highlight. Nothing is loaded or played.

#include "platform/toolkit/Forms.h"

class TToolBar;
class TSpeedButton;
class TImage;
class TStatusBar;
class TTimer;

class TPlayInterface : public TForm {
public:
    // Builds the window from its layout, hidden and to open maximised;
    // Show() shows it without blocking. The owner destroys it.
    explicit TPlayInterface(TComponent* AOwner);

    // Layout; every control is owned by the window.
    TToolBar* ToolBar1;
    TSpeedButton* PlayFsPlaySpButton;
    TSpeedButton* PlayFsStopSpButton;
    TSpeedButton* PlayFsGoSpButton;
    TSpeedButton* PlayFsBackSpButton;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton3;
    TImage* Image1;
    TStatusBar* StatusBar1;
    TTimer* Timer1;

    void PlayFsPlaySpButtonClick(TObject* Sender);
    void PlayFsStopSpButtonClick(TObject* Sender);
    void PlayFsGoSpButtonClick(TObject* Sender);
    void PlayFsBackSpButtonClick(TObject* Sender);

private:
    void buildToolBar();
    // A black caption turns red and the others black; a red one turns all
    // four black.
    void highlight(TSpeedButton* pressed);
};
