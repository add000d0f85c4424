#pragma once
// The label: a caption drawn in the label's font and colour.

#include "platform/toolkit/Controls.h"

#include <QPointer>

class QLabel;

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);

    void SetText(const AnsiString& text) override;
    bool AutoSize() const { return FAutoSize; }
    // When on, the label takes the size of its caption.
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return FTransparent; }
    // When off, the label fills its background with its Color.
    void SetTransparent(bool transparent);
    void SetAlignment(TAlignment alignment);
    // The control the label names, a sibling of the label (null: none).
    // Assistive technology reads the caption as the control's name and
    // relates the two (labelled by, label for).
    void SetFocusControl(TWinControl* control);

protected:
    void ColorChanged() override;

private:
    QLabel* LabelWidget() const;
    void ApplyLook();
    void FitCaption();
    void NameFocusControl();

    bool FAutoSize = true;
    bool FTransparent = false;
    QPointer<QWidget> FFocusControl;
};
