#pragma once
// The image control: a picture area. Nothing loads a picture into it, so it
// shows none.

#include "platform/toolkit/Controls.h"

class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);

    bool Stretch() const { return FStretch; }
    void SetStretch(bool stretch) { FStretch = stretch; }

private:
    bool FStretch = false;
};
