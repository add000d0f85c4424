#pragma once
// The group box: a framed container with a caption in its top edge. Its
// children's bounds are relative to its top-left corner; aligned children
// stay inside the frame.

#include "platform/toolkit/Controls.h"

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    void SetText(const AnsiString& text) override;

protected:
    QRect AlignRect() const override;
};
