#pragma once
// The tool bar: a row of tool buttons, left to right in the order they were
// given the bar as parent, with glyphs from an image list. Adjacent grouped
// check buttons form one exclusive group: at most one of them is down.

#include "platform/toolkit/Forms.h"

#include <QtGlobal>

class QToolButton;
class TImageList;
class TToolButton;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;

    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    // The glyphs (not owned); a button's ImageIndex picks one.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonWidth(int width);
    void SetButtonHeight(int height);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool show);

    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TToolButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }

private:
    friend class TToolButton;
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    // Positions the buttons left to right and refreshes their glyphs.
    void ArrangeButtons();
    void RefreshGlyphs();
    // Releases every other button of pressed's exclusive group.
    void ReleaseGroup(TToolButton* pressed);

    bool FFlat = false;
    TImageList* FImages = nullptr;
    quint64 FGlyphGeneration = 0;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FShowHint = false;
    std::vector<TToolButton*> FButtons;
};

// One button of a tool bar (a QToolButton).
class TToolButton : public TControl {
public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;

    // A tool bar parent adds the button at the right end of the bar.
    void SetParent(TWinControl* parent) override;

    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle style);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool grouped);
    bool Down() const { return FDown; }
    // Presses or releases the button (releasing the rest of its group when
    // pressed); never raises OnClick.
    void SetDown(bool down);
    int ImageIndex() const { return FImageIndex; }
    // An index past the last glyph shows no picture.
    void SetImageIndex(int index);
    // As a user click: a check button toggles, or is pressed when grouped;
    // then OnClick.
    void Click();
    // The window's key that runs the same command (a ShortCut value, 0 for
    // none): assistive technology reads it as the button's key binding. The
    // caller binds the key itself; the hint stays as it is.
    TShortCut KeyBinding() const { return FKeyBinding; }
    void SetKeyBinding(TShortCut key) { FKeyBinding = key; }

protected:
    void BoundsChanged() override;

private:
    friend class TToolBar;
    QToolButton* Button() const;
    TToolBar* ToolBar() const { return FToolBar; }
    void ApplyDown();
    void UpdateGlyph();

    TToolBar* FToolBar = nullptr;
    TToolButtonStyle FStyle = tbsButton;
    bool FGrouped = false;
    bool FDown = false;
    int FImageIndex = -1;
    TShortCut FKeyBinding = 0;
    // A separator's width; buttons take the bar's button width.
    int FGapWidth = 8;
};
