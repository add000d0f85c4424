#include "platform/toolkit/ListView.h"

#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewCore.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QAbstractItemView>
#include <QStackedWidget>

#include <algorithm>

TListItem::TListItem(TCustomListView* owner, int index)
    : Index(index), SubItems(new TStringList), FOwner(owner)
{
}

TListItem::~TListItem()
{
    delete SubItems;
}

void TListItem::SetState(TItemState state, bool value)
{
    ListViewCore* core = FOwner->FCore.get();
    if (state == isFocused) {
        if (value)
            core->SetCurrentRow(Index);
        else if (core->CurrentRow() == Index)
            core->SetCurrentRow(-1);
    } else if (state == isSelected) {
        if (value)
            core->SelectRow(Index);
        else if (core->IsRowSelected(Index))
            core->SelectRow(-1);
    }
}

bool TListItem::GetState(TItemState state) const
{
    const ListViewCore* core = FOwner->FCore.get();
    if (state == isFocused) return core->CurrentRow() == Index;
    if (state == isSelected) return core->IsRowSelected(Index);
    return false;
}

void TListItem::MakeVisible(bool)
{
    // Qt scrolls a row fully into view whenever it fits.
    FOwner->FCore->MakeVisible(Index);
}

void TListItems::SetCount(int count)
{
    FOwner->FCore->SetRowCount(count);
}

int TListItems::GetCount() const
{
    return FOwner->FCore->RowCount();
}

TListItem* TListItems::GetItem(int index)
{
    return FOwner->FCore->FetchItem(index);
}

TListItem* TListItems::Add()
{
    return FOwner->FCore->AddItem();
}

void TListItems::Clear()
{
    if (FOwner->OwnerData())
        FOwner->FCore->SetRowCount(0);
    else
        FOwner->FCore->ClearItems();
}

void TListItems::BeginUpdate()
{
    FOwner->FCore->BeginUpdate();
}

void TListItems::EndUpdate()
{
    FOwner->FCore->EndUpdate();
}

TListColumns::~TListColumns()
{
    for (TListColumn* column : FColumns) delete column;
}

TListColumn* TListColumns::Add()
{
    FColumns.push_back(new TListColumn);
    return FColumns.back();
}

void TListColumns::Changed()
{
    FOwner->FCore->ColumnsChanged();
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner, new QStackedWidget),
      FItems(std::make_unique<TListItems>(this)),
      FColumns(std::make_unique<TListColumns>(this)),
      FCanvas(std::make_unique<TCanvas>())
{
    auto* stack = static_cast<QStackedWidget*>(Widget());
    FCore = std::make_unique<ListViewCore>(this, stack);
    // OnKeyDown sees every key before the views handle it.
    for (int i = 0; i < stack->count(); ++i) WatchKeys(stack->widget(i));
}

TCustomListView::~TCustomListView() = default;

void TCustomListView::SetOwnerData(bool ownerData)
{
    if (ownerData == FOwnerData) return;
    FOwnerData = ownerData;
    FCore->OwnerDataChanged();
}

void TCustomListView::SetViewStyle(TViewStyle style)
{
    FViewStyle = style;
    FCore->SetViewStyle(style);
}

TListItem* TCustomListView::GetSelection()
{
    return FCore->FetchItem(FCore->SelectedRow());
}

void TCustomListView::SetSelection(TListItem* item)
{
    FCore->SelectRow(item ? item->Index : -1);
}

TListItem* TCustomListView::ItemFocused()
{
    return FCore->FetchItem(FCore->CurrentRow());
}

TImageList* TCustomListView::LargeImages() const
{
    return FLargeImages;
}

void TCustomListView::SetLargeImages(TImageList* images)
{
    FLargeImages = images;
    FCore->SetImageList(LVSIL_NORMAL, images);
}

TImageList* TCustomListView::SmallImages() const
{
    return FSmallImages;
}

void TCustomListView::SetSmallImages(TImageList* images)
{
    FSmallImages = images;
    FCore->SetImageList(LVSIL_SMALL, images);
}

TCustomListView::CellStyle TCustomListView::LastDrawnStyle(int row, int column) const
{
    return FCore->DrawnStyle(row, column);
}

void TCustomListView::PopupFromKeyboard()
{
    TPopupMenu* menu = PopupMenu();
    QAbstractItemView* view = ActiveView();
    if (!menu || !view) return;
    const QRect shown = view->viewport()->rect();
    QPoint at = shown.topLeft();
    const QRect row = view->visualRect(view->currentIndex());
    if (row.isValid() && shown.intersects(row))
        at = QPoint(row.left() + std::min(row.width() / 2, 40), row.center().y());
    const QPoint global = view->viewport()->mapToGlobal(at);
    menu->Popup(global.x(), global.y(), true);
}

QAbstractItemView* TCustomListView::ActiveView() const
{
    return FCore->ActiveView();
}

LRESULT TCustomListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_SETIMAGELIST && (wParam == LVSIL_NORMAL || wParam == LVSIL_SMALL)) {
        // A raw handle replaces whatever image list component was attached.
        (wParam == LVSIL_NORMAL ? FLargeImages : FSmallImages) = nullptr;
        ImageListData* previous =
            FCore->SetImageList(wParam, reinterpret_cast<ImageListData*>(lParam));
        return reinterpret_cast<LRESULT>(previous);
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

void TCustomListView::SetAccessibleSummary(const AnsiString& name, const AnsiString& description)
{
    Widget()->setAccessibleDescription(ToQString(description));
    SetAccessibleName(name);
    if (auto* view = dynamic_cast<ListViewGridView*>(ActiveView())) NotifySummaryChanged(view);
}

void TCustomListView::SetAccessibleCellDescriber(int column, TCellDescriber describer)
{
    FDescribedColumn = describer ? column : -1;
    FCellDescriber = std::move(describer);
}

AnsiString TCustomListView::AccessibleCellDescription(int row, int column) const
{
    if (column != FDescribedColumn || !FCellDescriber) return {};
    return FCellDescriber(row);
}
