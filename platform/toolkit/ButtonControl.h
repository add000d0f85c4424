#pragma once
// What the check box and the radio button share: a caption and a checked
// state, over one Qt button.

#include "platform/toolkit/Controls.h"

class QAbstractButton;

class TButtonControl : public TWinControl {
public:
    bool Checked() const;

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;

protected:
    // Takes button over as the control's widget.
    TButtonControl(TComponent* AOwner, QAbstractButton* button);
    QAbstractButton* Button() const { return FButton; }

private:
    QAbstractButton* FButton;
};
