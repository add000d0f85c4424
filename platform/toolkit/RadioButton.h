#pragma once
// A radio button. Radio buttons with the same parent exclude one another:
// checking one unchecks its siblings.

#include "platform/toolkit/Controls.h"

class QRadioButton;

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const;
    // Checking raises OnClick, as a click does; unchecking raises nothing.
    void SetChecked(bool checked);
    // Acts as a user click: checks the button.
    void Click();

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;

private:
    QRadioButton* FButton;
};
