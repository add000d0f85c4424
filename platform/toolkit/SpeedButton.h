#pragma once
// A tool-bar style button: a glyph beside its caption, flat (no frame until
// the mouse is over it) on request. It takes the focus and Space presses it.
// The caption is drawn in the palette's text colour until SetFontColor fixes
// one. A disabled button cannot be pressed.

#include "platform/toolkit/Controls.h"

class QPixmap;
class QToolButton;

class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent* AOwner);

    bool Flat() const;
    void SetFlat(bool flat);
    // The picture left of the caption, shown at its own size; greyed out
    // while the button is disabled.
    void SetGlyph(const QPixmap& glyph);
    // Sets Font()->Color and redraws the caption in it.
    void SetFontColor(TColor color);
    // Acts as a user click: raises OnClick unless the button is disabled.
    void Click();
    // For a button of a set whose last pressed one is in effect, shown by
    // the caller's own colours: assistive technology reads it as a toggle,
    // checked while it is the one. The look does not change.
    void SetAccessibleState(bool checkable, bool checked);
    bool AccessibleCheckable() const { return FCheckable; }
    bool AccessibleChecked() const { return FChecked; }

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;

private:
    QToolButton* FButton;
    bool FCheckable = false;
    bool FChecked = false;
};
