#pragma once
// The working parts behind a TCustomListView: one model, one view for every
// style that lays rows out by arithmetic, and the owner-data row cache. Rows are asked
// for only at paint time, for the rows the view is about to paint: first the
// hint for their range, then one OnData per row into a cache that lives until
// the next paint. Nothing is kept per row beyond that screenful.

#include "platform/toolkit/ListView.h"
#include "platform/toolkit/private/TypeAheadKeys.h"

#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QPointer>
#include <QSize>

#include <vector>

class ImageListData;
class ListViewDelegate;
class ListViewGridView;
class ListViewModel;
class QStackedWidget;

class ListViewCore {
public:
    ListViewCore(TCustomListView* owner, QStackedWidget* stack);
    ~ListViewCore();
    ListViewCore(const ListViewCore&) = delete;
    ListViewCore& operator=(const ListViewCore&) = delete;

    TCustomListView* Owner() const { return FOwner; }
    QAbstractItemView* ActiveView() const;

    // Rows. Owner data: only a count; otherwise the items the view owns.
    int RowCount() const;
    void SetRowCount(int count);
    TListItem* AddItem();
    void ClearItems();
    TListItem* OwnedItem(int row) const;
    void OwnerDataChanged();
    void BeginUpdate();
    void EndUpdate();

    // Called by a view just before it paints rows first..last (inclusive;
    // -1 when none): raises the hint and the row requests for them.
    void PrepareRows(int first, int last);
    // What the last request answered for a cell; empty when not asked.
    AnsiString CellText(int row, int column) const;
    int RowImage(int row) const;
    // The row object handed to the drawing events of row.
    TListItem* DrawItem(int row);
    // What assistive technology is told of a row, produced as a paint
    // produces it: a row the last paint asked for answers from that; any
    // other is asked for alone, the hint for exactly that one row first,
    // then its row request, and is kept until another row is asked for this
    // way or the rows change. Inside an update bracket, where nothing is
    // painted, nothing is asked for and the texts are empty.
    AnsiString ReaderText(int row, int column);
    int ReaderImage(int row);
    // The row object for the program (owner data: filled through OnData);
    // null for a row outside the list.
    TListItem* FetchItem(int row);

    // Single selection and the focused (current) row; -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);
    bool IsRowSelected(int row) const;
    int CurrentRow() const;
    void SetCurrentRow(int row);
    void MakeVisible(int row);

    void SetViewStyle(TViewStyle style);
    void ColumnsChanged();
    // Attaches an image list (LVSIL_NORMAL or LVSIL_SMALL); returns the old one.
    ImageListData* SetImageList(WPARAM which, ImageListData* images);
    // The list icons are drawn from in style.
    ImageListData* ImagesFor(TViewStyle style) const;
    // The uniform size of one item (report: of one row) in the current style.
    QSize ItemSize() const { return FItemSize; }
    QFont ListFont() const;
    // Re-reads sizes that depend on the image lists and the font; a view
    // calls it before each paint, since image lists change size on their own.
    void CheckGeometry();

    // A printable character typed into the list.
    void TypeAhead(const QString& text);
    void Clicked();
    void DoubleClicked();

    void RecordStyle(int row, int column, const TCustomListView::CellStyle& style);
    TCustomListView::CellStyle DrawnStyle(int row, int column) const;

private:
    struct RowData {
        AnsiString caption;
        int imageIndex = -1;
        std::vector<AnsiString> subItems;
    };
    void Fetch(int row, TListItem* item);
    static RowData Snapshot(const TListItem& item);
    static AnsiString TextOf(const RowData& data, int column);
    // The requested row of ReaderText; null when it cannot be asked for.
    const RowData* ReaderRow(int row);
    void ResetRows(int count);
    int FindCaption(const AnsiString& text, int start) const;
    QSize ComputeItemSize() const;
    QModelIndex IndexOf(int row) const;

    TCustomListView* FOwner;
    QPointer<QStackedWidget> FStack;
    QPointer<ListViewModel> FModel;
    QPointer<ListViewGridView> FView;
    ListViewDelegate* FDelegate;  // owned by the model's parent, the stack

    std::vector<TListItem*> FItems;  // ordinary items, owned
    TListItem FDataItem;             // reusable row for requests and drawing
    TListItem FProgramItem;          // reusable row handed to the program
    int FCacheFirst = 0;
    std::vector<RowData> FCache;  // rows of the last paint, from FCacheFirst
    TListItem FReaderItem;        // reusable row for assistive technology's requests
    int FReaderRow = -1;          // the row FReaderData holds; -1 for none
    RowData FReaderData;
    int FUpdateDepth = 0;

    ImageListData* FNormalImages = nullptr;
    ImageListData* FSmallImages = nullptr;
    QSize FItemSize;
    mutable QFont FLineFont;      // the font FLineHeight was measured in
    mutable int FLineHeight = 0;  // its caption line; 0 before the first

    TypeAheadKeys FTypeAhead;
    QElapsedTimer FClock;

    QHash<qint64, TCustomListView::CellStyle> FDrawn;
};
