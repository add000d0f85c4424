#include "platform/toolkit/private/ListViewCore.h"

#include "platform/base/ImageListData.h"
#include "platform/toolkit/private/CaptionLines.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewDelegate.h"
#include "platform/toolkit/private/ListViewModel.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStackedWidget>

#include <algorithm>

namespace {

// Drawn styles kept for LastDrawnStyle; a few screenfuls, then start over.
constexpr int kMaxDrawnCells = 8192;
// Width of the caption beside a small icon: captions are not measured, since
// that would need every row.
constexpr int kSmallCaptionWidth = 170;

qint64 CellKey(int row, int column)
{
    return (static_cast<qint64>(row) << 16) | (column & 0xFFFF);
}

}  // namespace

ListViewCore::ListViewCore(TCustomListView* owner, QStackedWidget* stack)
    : FOwner(owner),
      FStack(stack),
      FDataItem(owner, -1),
      FProgramItem(owner, -1),
      FReaderItem(owner, -1),
      FTypeAhead(QApplication::keyboardInputInterval())
{
    FModel = new ListViewModel(this, stack);
    FDelegate = new ListViewDelegate(this, stack);
    FView = new ListViewGridView(this, stack);
    FView->setModel(FModel);
    FView->setItemDelegate(FDelegate);
    stack->addWidget(FView);
    FClock.start();
    SetViewStyle(owner->ViewStyle());
}

ListViewCore::~ListViewCore()
{
    // The view calls back into this object; it goes first, unless Qt has
    // already destroyed it with a parent window.
    delete FView.data();
    delete FModel.data();
    for (TListItem* item : FItems) delete item;
}

QAbstractItemView* ListViewCore::ActiveView() const
{
    return FView.data();
}

int ListViewCore::RowCount() const
{
    return FModel ? FModel->rowCount() : 0;
}

void ListViewCore::ResetRows(int count)
{
    FCache.clear();
    FReaderRow = -1;
    FDrawn.clear();
    FTypeAhead.Reset();
    if (FModel) FModel->Reset(count);
}

void ListViewCore::SetRowCount(int count)
{
    if (!FOwner->OwnerData()) return;
    ResetRows(count);
}

TListItem* ListViewCore::AddItem()
{
    auto* item = new TListItem(FOwner, static_cast<int>(FItems.size()));
    if (FModel) FModel->BeginAppend();
    FItems.push_back(item);
    if (FModel) FModel->EndAppend();
    return item;
}

void ListViewCore::ClearItems()
{
    if (FOwner->OwnerData()) return;
    ResetRows(0);
    for (TListItem* item : FItems) delete item;
    FItems.clear();
}

TListItem* ListViewCore::OwnedItem(int row) const
{
    if (row < 0 || row >= static_cast<int>(FItems.size())) return nullptr;
    return FItems[static_cast<size_t>(row)];
}

void ListViewCore::OwnerDataChanged()
{
    for (TListItem* item : FItems) delete item;
    FItems.clear();
    ResetRows(0);
}

void ListViewCore::BeginUpdate()
{
    if (FUpdateDepth++ == 0 && FStack) FStack->setUpdatesEnabled(false);
}

void ListViewCore::EndUpdate()
{
    if (FUpdateDepth == 0) return;
    if (--FUpdateDepth == 0 && FStack) FStack->setUpdatesEnabled(true);
}

void ListViewCore::Fetch(int row, TListItem* item)
{
    item->Index = row;
    item->Caption.clear();
    item->ImageIndex = -1;
    item->SubItems->Clear();
    if (FOwner->OnData) InvokeHandler([&] { FOwner->OnData(FOwner, item); });
}

ListViewCore::RowData ListViewCore::Snapshot(const TListItem& item)
{
    RowData data{item.Caption, item.ImageIndex, {}};
    for (int i = 0; i < item.SubItems->GetCount(); ++i)
        data.subItems.push_back(item.SubItems->Get(i));
    return data;
}

void ListViewCore::PrepareRows(int first, int last)
{
    FDelegate->NewPaint();
    if (!FOwner->OwnerData()) return;
    FCache.clear();
    const int count = RowCount();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (last < first) return;
    FCacheFirst = first;
    if (FOwner->OnDataHint) InvokeHandler([&] { FOwner->OnDataHint(FOwner, first, last); });
    FCache.reserve(static_cast<size_t>(last) - static_cast<size_t>(first) + 1);
    for (int row = first; row <= last; ++row) {
        Fetch(row, &FDataItem);
        FCache.push_back(Snapshot(FDataItem));
    }
}

AnsiString ListViewCore::CellText(int row, int column) const
{
    if (column < 0) return {};
    if (!FOwner->OwnerData()) {
        const TListItem* item = OwnedItem(row);
        if (!item) return {};
        if (column == 0) return item->Caption;
        return column - 1 < item->SubItems->GetCount() ? item->SubItems->Get(column - 1)
                                                       : AnsiString();
    }
    const int slot = row - FCacheFirst;
    if (row < FCacheFirst || slot >= static_cast<int>(FCache.size())) return {};
    return TextOf(FCache[static_cast<size_t>(slot)], column);
}

AnsiString ListViewCore::TextOf(const RowData& data, int column)
{
    if (column == 0) return data.caption;
    const size_t sub = static_cast<size_t>(column - 1);
    return sub < data.subItems.size() ? data.subItems[sub] : AnsiString();
}

int ListViewCore::RowImage(int row) const
{
    if (!FOwner->OwnerData()) {
        const TListItem* item = OwnedItem(row);
        return item ? item->ImageIndex : -1;
    }
    const int slot = row - FCacheFirst;
    if (row < FCacheFirst || slot >= static_cast<int>(FCache.size())) return -1;
    return FCache[static_cast<size_t>(slot)].imageIndex;
}

TListItem* ListViewCore::DrawItem(int row)
{
    if (!FOwner->OwnerData()) return OwnedItem(row);
    FDataItem.Index = row;
    FDataItem.Caption = CellText(row, 0);
    FDataItem.ImageIndex = RowImage(row);
    FDataItem.SubItems->Clear();
    const int slot = row - FCacheFirst;
    if (row >= FCacheFirst && slot < static_cast<int>(FCache.size()))
        for (const AnsiString& text : FCache[static_cast<size_t>(slot)].subItems)
            FDataItem.SubItems->Add(text);
    return &FDataItem;
}

const ListViewCore::RowData* ListViewCore::ReaderRow(int row)
{
    if (row < 0 || row >= RowCount()) return nullptr;
    const int slot = row - FCacheFirst;
    if (row >= FCacheFirst && slot < static_cast<int>(FCache.size()))
        return &FCache[static_cast<size_t>(slot)];
    if (row == FReaderRow) return &FReaderData;
    if (FUpdateDepth > 0) return nullptr;
    if (FOwner->OnDataHint) InvokeHandler([&] { FOwner->OnDataHint(FOwner, row, row); });
    Fetch(row, &FReaderItem);
    FReaderData = Snapshot(FReaderItem);
    FReaderRow = row;
    return &FReaderData;
}

AnsiString ListViewCore::ReaderText(int row, int column)
{
    if (!FOwner->OwnerData()) return CellText(row, column);
    const RowData* data = column < 0 ? nullptr : ReaderRow(row);
    return data ? TextOf(*data, column) : AnsiString();
}

int ListViewCore::ReaderImage(int row)
{
    if (!FOwner->OwnerData()) return RowImage(row);
    const RowData* data = ReaderRow(row);
    return data ? data->imageIndex : -1;
}

TListItem* ListViewCore::FetchItem(int row)
{
    if (row < 0 || row >= RowCount()) return nullptr;
    if (!FOwner->OwnerData()) return OwnedItem(row);
    Fetch(row, &FProgramItem);
    return &FProgramItem;
}

QModelIndex ListViewCore::IndexOf(int row) const
{
    if (!FModel || row < 0 || row >= FModel->rowCount()) return {};
    return FModel->index(row, 0);
}

int ListViewCore::SelectedRow() const
{
    if (!FView) return -1;
    const QItemSelection selection = FView->selectionModel()->selection();
    return selection.isEmpty() ? -1 : selection.first().top();
}

void ListViewCore::SelectRow(int row)
{
    if (!FView) return;
    QItemSelectionModel* selection = FView->selectionModel();
    const QModelIndex index = IndexOf(row);
    if (index.isValid())
        selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clearSelection();
}

bool ListViewCore::IsRowSelected(int row) const
{
    const QModelIndex index = IndexOf(row);
    return index.isValid() && FView && FView->selectionModel()->isSelected(index);
}

int ListViewCore::CurrentRow() const
{
    if (!FView) return -1;
    const QModelIndex current = FView->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ListViewCore::SetCurrentRow(int row)
{
    if (!FView) return;
    FView->selectionModel()->setCurrentIndex(IndexOf(row), QItemSelectionModel::NoUpdate);
}

void ListViewCore::MakeVisible(int row)
{
    const QModelIndex index = IndexOf(row);
    QAbstractItemView* view = ActiveView();
    if (!index.isValid() || !view) return;
    CheckGeometry();
    view->scrollTo(index, QAbstractItemView::EnsureVisible);
}

void ListViewCore::SetViewStyle(TViewStyle)
{
    if (!FView || !FStack) return;
    FTypeAhead.Reset();
    FStack->setCurrentWidget(FView);
    FStack->setFocusProxy(FView);
    FItemSize = QSize();
    CheckGeometry();
    FView->Relayout();
    NotifyShapeChanged(FView);
}

void ListViewCore::ColumnsChanged()
{
    if (!FModel || !FView) return;
    TListColumns* columns = FOwner->Columns();
    FModel->SetColumnCount(columns->GetCount());
    QHeaderView* header = FView->Header();
    for (int i = 0; i < columns->GetCount(); ++i) {
        const TListColumn* column = columns->GetItem(i);
        header->resizeSection(i, column->Width);
    }
    header->viewport()->update();
    FView->viewport()->update();
}

ImageListData* ListViewCore::SetImageList(WPARAM which, ImageListData* images)
{
    ImageListData*& slot = which == LVSIL_SMALL ? FSmallImages : FNormalImages;
    ImageListData* previous = slot;
    slot = images;
    CheckGeometry();
    if (QAbstractItemView* view = ActiveView()) view->viewport()->update();
    return previous;
}

ImageListData* ListViewCore::ImagesFor(TViewStyle style) const
{
    return style == vsIcon ? FNormalImages : FSmallImages;
}

QFont ListViewCore::ListFont() const
{
    return FOwner->Font()->ToQFont(FStack ? FStack->font() : QFont());
}

QSize ListViewCore::ComputeItemSize() const
{
    // Names in any script: the line of the faces that really draw them,
    // measured again only when the list's font changes: this runs before
    // every paint, and the list's font is always made the same way.
    const QFont font = ListFont();
    if (FLineHeight == 0 || font != FLineFont) {
        FLineHeight = CaptionLineHeight(font);
        FLineFont = font;
    }
    const int line = FLineHeight;
    const TViewStyle style = FOwner->ViewStyle();
    const ImageListData* images = ImagesFor(style);
    if (style == vsIcon) {
        const QSize icon = images ? images->ImageSize() : QSize(32, 32);
        return {std::max(icon.width() + 12, 76), icon.height() + 2 * line + 14};
    }
    const QSize icon = images ? images->ImageSize().boundedTo(QSize(48, 48)) : QSize(16, 16);
    const int height = std::max(icon.height(), line) + 4;
    if (style == vsReport) return {100, height};
    return {icon.width() + kSmallCaptionWidth, height};
}

void ListViewCore::CheckGeometry()
{
    const QSize size = ComputeItemSize();
    if (size == FItemSize) return;
    FItemSize = size;
    if (FView) FView->Relayout();
}

void ListViewCore::TypeAhead(const QString& text)
{
    FTypeAhead.SetInterval(QApplication::keyboardInputInterval());
    const bool extends = FTypeAhead.Add(FromQString(text), FClock.elapsed());
    const int count = RowCount();
    if (count == 0) return;
    const int focused = CurrentRow();
    int start = 0;
    if (focused >= 0) start = extends ? focused : (focused + 1 < count ? focused + 1 : 0);
    int index = -1;
    if (FOwner->OwnerData()) {
        if (!FOwner->OnDataFind) return;
        const AnsiString& search = FTypeAhead.Text();
        InvokeHandler([&] {
            FOwner->OnDataFind(FOwner, ifPartialString, search, TPoint{}, nullptr, start, sdAll,
                               true, index);
        });
    } else {
        index = FindCaption(FTypeAhead.Text(), start);
    }
    if (index < 0 || index >= count) return;
    SelectRow(index);
    SetCurrentRow(index);
    MakeVisible(index);
}

int ListViewCore::FindCaption(const AnsiString& text, int start) const
{
    const QString search = ToQString(text);
    const int count = static_cast<int>(FItems.size());
    for (int n = 0; n < count; ++n) {
        const int row = (start + n) % count;
        if (ToQString(FItems[static_cast<size_t>(row)]->Caption)
                .startsWith(search, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

void ListViewCore::Clicked()
{
    if (FOwner->OnClick) InvokeHandler([this] { FOwner->OnClick(FOwner); });
}

void ListViewCore::DoubleClicked()
{
    if (FOwner->OnDblClick) InvokeHandler([this] { FOwner->OnDblClick(FOwner); });
}

void ListViewCore::RecordStyle(int row, int column, const TCustomListView::CellStyle& style)
{
    if (FDrawn.size() >= kMaxDrawnCells) FDrawn.clear();
    FDrawn.insert(CellKey(row, column), style);
}

TCustomListView::CellStyle ListViewCore::DrawnStyle(int row, int column) const
{
    return FDrawn.value(CellKey(row, column));
}
