// The file list as a person uses it: a large folder scrolled in the report
// view, and typing a name's first letters.

#include "tests/listview/FolderWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <string>

class ListEndToEndTest : public FolderWindowTest {
protected:
    QAbstractItemView* View() const
    {
        QWidget* widget = frmQuillet->lstvwVirtualList->Widget();
        if (auto* view = qobject_cast<QAbstractItemView*>(widget)) return view;
        // One view per style; the one of the current style is the one shown.
        for (auto* view : widget->findChildren<QAbstractItemView*>())
            if (view->isVisibleTo(widget)) return view;
        return nullptr;
    }
};

// Only the rows that were shown get their details, and those rows show them.
TEST_F(ListEndToEndTest, ScrollingLoadsOnlyTheRowsShown)
{
    MakeManyFiles(100000);
    OpenWindow();
    ASSERT_EQ(RowCount(), 100000);
    ShowAtFixedSize();
    QAbstractItemView* view = View();
    ASSERT_NE(view, nullptr);

    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    Settle();
    view->viewport()->repaint();
    Settle();

    const int loaded = LoadedCount();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 400) << "details were loaded far beyond the rows shown";

    const int first = view->indexAt(QPoint(4, 4)).row();
    const int last = view->indexAt(QPoint(4, view->viewport()->height() - 4)).row();
    ASSERT_GT(first, 30000);
    ASSERT_GE(last, first);
    QAbstractItemModel* model = view->model();
    for (int row = first; row <= last; ++row) {
        const PShellItem* record = frmQuillet->GetShellItem(row);
        ASSERT_FALSE(record->NeedsDetails) << row;
        EXPECT_EQ(model->index(row, 0).data().toString().toStdString(), record->Name);
        EXPECT_EQ(model->index(row, 1).data().toString().toStdString(), "1KB");
        EXPECT_EQ(model->index(row, 2).data().toString().toStdString(), record->TypeText);
        EXPECT_EQ(model->index(row, 3).data().toString().toStdString(), record->DateText);
        EXPECT_EQ(model->index(row, 4).data().toString().toStdString(), "A");
    }
}

// Typed letters select the first name, from the search's start, that begins
// with them in any case.
TEST_F(ListEndToEndTest, TypingSelectsTheFirstMatchingName)
{
    for (const char* name : {"Alpha", "beta", "Report.txt", "reptile", "zeta", "Replay"})
        MakeFile(name);
    MakeFolder("aaa-folder");
    OpenWindow();
    ShowAtFixedSize();
    QAbstractItemView* view = View();
    ASSERT_NE(view, nullptr);
    view->setFocus();

    int firstMatch = -1;
    for (int i = 0; i < RowCount() && firstMatch < 0; ++i) {
        const AnsiString& name = frmQuillet->GetShellItem(i)->Name;
        if (name.size() >= 3 && (name.rfind("rep", 0) == 0 || name.rfind("Rep", 0) == 0))
            firstMatch = i;
    }
    ASSERT_GT(firstMatch, 0);

    QTest::keyClicks(view, "rep");
    Settle();
    TListItem* selected = frmQuillet->lstvwVirtualList->GetSelection();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Index, firstMatch);
}
