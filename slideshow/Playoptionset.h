#pragma once
// The playback options window: what to play, a time range, a display size
// and an interval of 1 to 5 seconds, and a play button that opens a playback
// window. The radio buttons enable the controls that belong to their choice;
// no setting is read by anything.

#include "platform/toolkit/Forms.h"

class TGroupBox;
class TRadioButton;
class TCheckBox;
class TLabel;
class TComboBox;
class TRadioGroup;
class TScrollBar;
class TButton;

class TPlayOption : public TForm {
public:
    // Builds the window from its layout, hidden; Show() shows it without
    // blocking. The owner (the application object) destroys it.
    explicit TPlayOption(TComponent* AOwner);

    // Layout; every control is owned by the window.
    TGroupBox* GroupBox1;
    TRadioButton* PlayAllRdo;
    TRadioButton* PlaySelectRdo;
    TRadioButton* PlayAssigeRdo;
    TCheckBox* PlayIECkBox;
    TCheckBox* PlayBBSCkBox;
    TCheckBox* PlayFTPCkBox;
    TCheckBox* PlayMailCkBox;
    TLabel* PlayLabel1;
    TComboBox* PlayFistTimeCbBox;
    TLabel* PlayLabel2;
    TComboBox* PlayLastTimeCbBox;
    TRadioGroup* RadioGroup1;
    TLabel* PlayLabel3;
    TScrollBar* PlaySpeedSlBar;
    TLabel* PlayFistText;
    TLabel* PlayLastText;
    TLabel* PlayLabel4;
    TLabel* PlaySpeedLabel;
    TLabel* PlayLabel8;
    TButton* PlayOKButton;
    TButton* PlayClearButton;

    // Enable the four check boxes, then the two combo boxes, as the chosen
    // radio button asks; checked states and texts stay as they are.
    void PlayAllRdoClick(TObject* Sender);
    void PlaySelectRdoClick(TObject* Sender);
    void PlayAssigeRdoClick(TObject* Sender);
    // Shows the scroll bar's position in PlaySpeedLabel.
    void PlaySpeedSlBarChange(TObject* Sender);
    // Opens a new playback window owned by the application object.
    void PlayOKButtonClick(TObject* Sender);

private:
    void buildChoices();
    void buildSpeed();
    void setEnabledStates(bool checkBoxes, bool comboBoxes);
};
