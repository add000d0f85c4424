#pragma once
// A group box of radio buttons, one per item, laid out in columns (filled top
// to bottom, then left to right) that share the box's width evenly. At most
// one item is selected; ItemIndex is -1 when none is.

#include "platform/toolkit/Controls.h"

#include <vector>

class QGroupBox;
class QRadioButton;

class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* AOwner);

    AnsiString GetText() const override;
    void SetText(const AnsiString& text) override;

    int Columns() const { return FColumns; }
    // At least 1.
    void SetColumns(int columns);
    // Appends an item; returns its index.
    int AddItem(const AnsiString& text);
    int ItemCount() const { return static_cast<int>(FButtons.size()); }
    // Raises EListError for an index outside the items.
    AnsiString Item(int index) const;
    int ItemIndex() const;
    // -1 clears the selection; other values outside the items are ignored.
    void SetItemIndex(int index);

private:
    void arrange();

    QGroupBox* FBox;
    std::vector<QRadioButton*> FButtons;  // children of FBox
    int FColumns = 1;
};
