#pragma once
// A check box with a caption; a change of its checked state raises OnClick.

#include "platform/toolkit/Controls.h"

class QCheckBox;

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    bool Checked() const;
    void SetChecked(bool checked);
    // Acts as a user click: toggles the box unless it is disabled.
    void Click();

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;

private:
    QCheckBox* FBox;
};
