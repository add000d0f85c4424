#pragma once
// A radio button. Radio buttons with the same parent exclude one another:
// checking one unchecks its siblings.

#include "platform/toolkit/ButtonControl.h"

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    // Checking raises OnClick, as a click does; unchecking raises nothing.
    void SetChecked(bool checked);
    // Acts as a user click: checks the button.
    void Click();
};
