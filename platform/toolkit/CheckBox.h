#pragma once
// A check box with a caption; a change of its checked state raises OnClick.

#include "platform/toolkit/ButtonControl.h"

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    void SetChecked(bool checked);
    // Acts as a user click: toggles the box unless it is disabled.
    void Click();
};
