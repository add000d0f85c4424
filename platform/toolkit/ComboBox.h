#pragma once
// The combo box: an editable QComboBox that never adds typed text by itself.
// Its Items are the box's own entries, each with an object pointer.

#include "platform/toolkit/Controls.h"

#include <memory>

class QComboBox;

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    // The entries of the drop-down list.
    TStrings* Items() { return FItems.get(); }
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);
    // Index of the chosen entry, -1 when the text matches none chosen.
    int GetItemIndex() const;
    // Selects entry index (-1 clears); never raises OnClick.
    void SetItemIndex(int index);
    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;
    // Selection in the edit, in characters.
    int GetSelStart() const;
    void SetSelStart(int start);
    int GetSelLength() const;
    void SetSelLength(int length);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int height);
    // Stores the name of the input method only.
    void SetImeName(const AnsiString& name) { FImeName = name; }
    const AnsiString& ImeName() const { return FImeName; }

    // OnClick (inherited) is raised when the user chooses an entry of the
    // list, never when the program sets ItemIndex. OnKeyDown gets the keys
    // typed in the edit.
    TNotifyEvent OnChange;

    QComboBox* Box() const;

protected:
    // The text is the box's value; the name goes on its edit as well.
    bool TextIsCaption() const override { return false; }
    void ApplyAccessibleName(const QString& name) override;

private:
    std::unique_ptr<TStrings> FItems;
    TComboBoxStyle FStyle = csDropDown;
    AnsiString FImeName;
    int FItemHeight = 16;
};
