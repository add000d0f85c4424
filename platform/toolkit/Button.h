#pragma once
// The push button.

#include "platform/toolkit/Controls.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);

    void SetText(const AnsiString& text) override;
    // As a user click: raises OnClick.
    void Click();
};
