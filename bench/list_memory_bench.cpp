// What a list of a million rows costs per row, in the file list's own view
// (all four styles) and in Qt's list, icon and tree views over the same
// model, each shown at 800 x 600 and painted once. The model holds nothing
// per row, so what grows is the view's own bookkeeping.
//
// Usage: list_memory_bench [rows]
// Prints the heap growth per row of each view; the file list's should be 0.

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QApplication>
#include <QListView>
#include <QTreeView>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Large blocks are mapped on their own and counted apart from the heap.
size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Settle()
{
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Rows made up on request, five columns, nothing stored.
class NumberModel : public QAbstractTableModel {
public:
    explicit NumberModel(int rows) : FRows(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : FRows;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 5;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        return QStringLiteral("Entry%1").arg(index.row() * 5 + index.column());
    }

private:
    int FRows;
};

// Growth per row from a ten-row view to a rows-row one, both shown and painted.
double PerRow(int rows, const std::function<void(int)>& setRows, QWidget* shown)
{
    shown->resize(800, 600);
    shown->show();
    setRows(10);
    Settle();
    const size_t before = HeapInUse();
    setRows(rows);
    shown->repaint();
    Settle();
    const size_t after = HeapInUse();
    shown->hide();
    return after > before ? double(after - before) / rows : 0.0;
}

double QtView(int rows, QAbstractItemView* view)
{
    std::unique_ptr<QAbstractItemView> owned(view);
    std::unique_ptr<NumberModel> model;
    return PerRow(
        rows,
        [&](int n) {
            auto next = std::make_unique<NumberModel>(n);
            view->setModel(next.get());
            model = std::move(next);
        },
        view);
}

double FileListView(int rows, TViewStyle style)
{
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 800, 600);
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetAlign(alClient);
    list->SetOwnerData(true);
    for (int i = 0; i < 5; ++i) list->Columns()->Add();
    list->Columns()->Changed();
    list->SetViewStyle(style);
    list->OnData = [](TObject*, TListItem* item) { item->Caption = "Entry"; };
    form->Show();
    const double perRow = PerRow(
        rows, [&](int n) { list->Items()->SetCount(n); }, form->Widget());
    delete form;
    return perRow;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    Application->Initialize();

    std::printf("bytes per row at %d rows, shown at 800 x 600\n", rows);
    const struct {
        const char* name;
        TViewStyle style;
    } styles[] = {
        {"icons", vsIcon}, {"small icons", vsSmallIcon}, {"list", vsList}, {"report", vsReport}};
    for (const auto& style : styles)
        std::printf("  file list, %-11s  %8.2f\n", style.name, FileListView(rows, style.style));

    auto* list = new QListView;
    list->setUniformItemSizes(true);
    std::printf("  QListView, list         %8.2f\n", QtView(rows, list));

    auto* flow = new QListView;
    flow->setViewMode(QListView::IconMode);
    flow->setUniformItemSizes(true);
    flow->setGridSize(QSize(80, 60));
    std::printf("  QListView, icons        %8.2f\n", QtView(rows, flow));

    auto* tree = new QTreeView;
    tree->setUniformRowHeights(true);
    tree->setRootIsDecorated(false);
    std::printf("  QTreeView, report       %8.2f\n", QtView(rows, tree));

    Application->DestroyComponents();
    return 0;
}
