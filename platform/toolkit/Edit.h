#pragma once
// The edit: a one-line text box.

#include "platform/toolkit/Controls.h"

class QLineEdit;

enum TBiDiMode { bdLeftToRight, bdRightToLeft };

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    // Right to left shows the text right-aligned.
    void SetBiDiMode(TBiDiMode mode);
    // Stores the name of the input method only.
    void SetImeName(const AnsiString& name) { FImeName = name; }
    const AnsiString& ImeName() const { return FImeName; }
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);

    // Raised whenever the text changes, by typing or by SetText.
    TNotifyEvent OnChange;

    QLineEdit* LineEdit() const;

protected:
    // The text is what was typed, never what the edit is.
    bool TextIsCaption() const override { return false; }

private:
    TBiDiMode FBiDiMode = bdLeftToRight;
    AnsiString FImeName;
};
