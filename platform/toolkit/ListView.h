#pragma once
// The list view: a Qt item view in one of four styles. In owner-data mode it
// holds no rows, only a count: before it shows rows it raises OnDataHint for
// their index range, then OnData per row with a reusable row object, then the
// drawing events per row and, in the report style, per cell. Typed characters
// are gathered into a search text and answered through OnDataFind.

#include "platform/toolkit/Controls.h"

#include <functional>
#include <memory>

class QAbstractItemView;
class ListViewCore;

class TListView;
class TImageList;
class TCustomListView;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemState { isNone = 0, isCut = 1, isDropHilited = 2, isFocused = 3, isSelected = 4 };
enum TItemFind { ifData = 0, ifPartialString = 1, ifExactString = 2, ifNearest = 3 };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
using TCustomDrawState = int;  // a set of cds* bits
constexpr int cdsSelected = 1, cdsGrayed = 2, cdsDisabled = 4, cdsChecked = 8, cdsFocused = 16,
              cdsDefault = 32, cdsHot = 64, cdsMarked = 128, cdsIndeterminate = 256;

// One row. In owner-data mode the view hands out one reusable row object,
// refilled through OnData for every request; SubItems starts empty each time.
class TListItem : public TObject {
public:
    TListItem(TCustomListView* owner, int index);
    ~TListItem() override;

    int GetIndex() const { return Index; }
    // State isFocused or isSelected.
    void SetState(TItemState state, bool value);
    bool GetState(TItemState state) const;
    // Scrolls the row into view; partialOK false asks for the whole row.
    void MakeVisible(bool partialOK);
    TCustomListView* Owner() const { return FOwner; }

    int Index;
    AnsiString Caption;
    int ImageIndex = -1;
    TStrings* SubItems;

private:
    TCustomListView* FOwner;
};

class TListItems : public TObject {
public:
    explicit TListItems(TCustomListView* owner) : FOwner(owner) {}
    // Owner data: the row count only.
    void SetCount(int count);
    int GetCount() const;
    // The row at index (owner data: the reusable row, filled through OnData).
    TListItem* GetItem(int index);
    // Ordinary items (not owner data).
    TListItem* Add();
    void Clear();
    // Drawing and model updates wait until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    TCustomListView* FOwner;
};

class TListColumn : public TObject {
public:
    AnsiString Caption;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
};

class TListColumns : public TObject {
public:
    explicit TListColumns(TCustomListView* owner) : FOwner(owner) {}
    ~TListColumns() override;
    // Adds a column; set its fields, then call Changed().
    TListColumn* Add();
    int GetCount() const { return static_cast<int>(FColumns.size()); }
    TListColumn* GetItem(int index) const { return FColumns.at(static_cast<size_t>(index)); }
    void Changed();

private:
    TCustomListView* FOwner;
    std::vector<TListColumn*> FColumns;
};

using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataHintEvent = std::function<void(TObject* Sender, int StartIndex, int EndIndex)>;
using TLVOwnerDataFindEvent = std::function<void(
    TObject* Sender, TItemFind Find, const AnsiString& FindString, const TPoint& FindPosition,
    void* FindData, int StartIndex, TSearchDirection Direction, bool Wrap, int& Index)>;
using TLVCustomDrawItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item,
                                                  TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, int SubItem,
                       TCustomDrawState State, bool& DefaultDraw)>;

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListItems* Items() const { return FItems.get(); }
    TListColumns* Columns() const { return FColumns.get(); }
    TCanvas* Canvas() const { return FCanvas.get(); }

    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool ownerData);
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle style);

    // The selected row (owner data: the reusable row object), or null.
    TListItem* GetSelection();
    void SetSelection(TListItem* item);
    TListItem* ItemFocused();
    // Shows the pop-up menu as the keyboard asks for it: at the focused row
    // when it is in view, else at the list's top-left corner.
    void PopupFromKeyboard();
    // What a reader hears of the list as a whole: its name and a
    // description (what it shows, how many rows). Readers are told of the
    // change, and when the list has the focus, of its current row again
    // after it, so that they say the three together.
    void SetAccessibleSummary(const AnsiString& name, const AnsiString& description);
    // Describes the cells of column for readers beside their text (the
    // words a column of letters stands for, say); the styles other than the
    // report show one column, and there it describes the row. The describer
    // is asked only after the row's data was asked for, through the hint.
    // Null for none.
    using TCellDescriber = std::function<AnsiString(int row)>;
    void SetAccessibleCellDescriber(int column, TCellDescriber describer);
    // A cell's description as the describer gives it; empty when none.
    AnsiString AccessibleCellDescription(int row, int column) const;
    int AccessibleDescribedColumn() const { return FDescribedColumn; }

    TImageList* LargeImages() const;
    void SetLargeImages(TImageList* images);
    TImageList* SmallImages() const;
    void SetSmallImages(TImageList* images);

    // The look a cell was last drawn with, as the drawing events left the
    // font (a selected row is painted in the highlight colours over it);
    // an invalid colour when the cell has not been drawn. A test hook.
    struct CellStyle {
        QColor color;
        bool strikeOut = false;
        bool bold = false;
    };
    CellStyle LastDrawnStyle(int row, int column) const;
    // The Qt view showing the current style (a test hook: scroll it, type
    // into it, grab it).
    QAbstractItemView* ActiveView() const;

    TLVOwnerDataEvent OnData;
    TLVOwnerDataHintEvent OnDataHint;
    TLVOwnerDataFindEvent OnDataFind;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
    TNotifyEvent OnDblClick;

protected:
    // LVM_SETIMAGELIST attaches an image list handle (LVSIL_NORMAL, LVSIL_SMALL).
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumns;
    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TCanvas> FCanvas;
    bool FOwnerData = false;
    TViewStyle FViewStyle = vsIcon;
    TImageList* FLargeImages = nullptr;
    TImageList* FSmallImages = nullptr;
    std::unique_ptr<ListViewCore> FCore;
    int FDescribedColumn = -1;
    TCellDescriber FCellDescriber;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
