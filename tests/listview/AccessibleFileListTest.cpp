// The file list over a real folder as a screen reader reads it: what each
// style exposes equals what the rows show, a reader's cell loads its row's
// record alone, and an open tells the selection of the first row.

#include "tests/listview/FolderWindow.h"
#include "tests/support/AccessibleEvents.h"

#include "platform/toolkit/ToolBar.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <string>

namespace {

class AccessibleFileListTest : public FolderWindowTest {
protected:
    QAccessibleInterface* Reader() const
    {
        return QAccessible::queryAccessibleInterface(frmQuillet->lstvwVirtualList->ActiveView());
    }
    static std::string NameOf(QAccessibleInterface* iface)
    {
        return iface ? iface->text(QAccessible::Name).toStdString() : "<none>";
    }
};

TEST_F(AccessibleFileListTest, EveryStyleTellsWhatTheRowsShow)
{
    MakeFile("notes.txt", 1500);
    MakeFile("photo.jpg", 20000);
    MakeFolder("letters");
    OpenWindow();
    ShowAtFixedSize();
    ASSERT_EQ(RowCount(), 3);

    struct Style {
        TToolButton* button;
        bool report;
    };
    for (const Style& style : {Style{frmQuillet->tlbtnLargeIcons, false},
                               {frmQuillet->tlbtnSmallIcons, false},
                               {frmQuillet->tlbtnList, false},
                               {frmQuillet->tlbtnReport, true}}) {
        // As a reader switches it: the button's own action.
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(style.button->Widget());
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        Settle();
        EXPECT_TRUE(style.button->Down());
        SCOPED_TRACE(style.button->Name());
        QAccessibleInterface* list = Reader();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->text(QAccessible::Name), "Folder contents");
        QAccessibleTableInterface* table = list->tableInterface();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->rowCount(), frmQuillet->lstvwVirtualList->Items()->GetCount());
        if (!style.report) {
            EXPECT_EQ(list->role(), QAccessible::List);
            EXPECT_EQ(table->columnCount(), 1);
            for (int row = 0; row < RowCount(); ++row)
                EXPECT_EQ(NameOf(list->child(row)), RowTexts(row)[0]);
            continue;
        }
        EXPECT_EQ(list->role(), QAccessible::Table);
        ASSERT_EQ(table->columnCount(), 5);
        const char* const headers[] = {"檔名", "大小", "類型", "修改日期", "屬性"};
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(NameOf(list->child(column)), headers[column]);
        for (int row = 0; row < RowCount(); ++row) {
            const std::vector<AnsiString> texts = RowTexts(row);
            ASSERT_EQ(texts.size(), 5u);
            for (int column = 0; column < 5; ++column)
                EXPECT_EQ(NameOf(table->cellAt(row, column)), texts[static_cast<size_t>(column)])
                    << "row " << row << " column " << column;
        }
        EXPECT_EQ(NameOf(table->cellAt(RowOf("notes.txt"), 1)), "1KB");
    }
}

TEST_F(AccessibleFileListTest, AReadersCellLoadsTheRecordOfItsRowAlone)
{
    MakeManyFiles(100000);
    OpenWindow();
    ShowAtFixedSize();
    const int loaded = LoadedCount();
    ASSERT_LT(loaded, 400);
    QAccessibleInterface* list = Reader();
    EXPECT_EQ(list->tableInterface()->rowCount(), 100000);
    EXPECT_EQ(list->childCount(), 100001 * 5);
    EXPECT_EQ(LoadedCount(), loaded) << "counting loaded records";

    const int row = RowOf("item060000.txt");
    ASSERT_TRUE(frmQuillet->GetShellItem(row)->NeedsDetails);
    std::vector<std::string> names;
    for (int column = 0; column < 5; ++column)
        names.push_back(NameOf(list->tableInterface()->cellAt(row, column)));
    EXPECT_EQ(LoadedCount(), loaded + 1);
    EXPECT_FALSE(frmQuillet->GetShellItem(row)->NeedsDetails);
    const std::vector<AnsiString> texts = RowTexts(row);
    EXPECT_EQ(names, std::vector<std::string>(texts.begin(), texts.end()));
}

TEST_F(AccessibleFileListTest, AnOpenTellsTheSelectionAndFocusOfTheFirstRow)
{
    MakeFolder("inner");
    MakeFile("inner/first.txt");
    MakeFile("inner/second.txt");
    OpenWindow();
    ShowAtFixedSize();
    QAbstractItemView* view = frmQuillet->lstvwVirtualList->ActiveView();
    QApplication::setActiveWindow(frmQuillet->Widget());
    view->setFocus();
    Settle();
    ASSERT_TRUE(view->hasFocus());

    AccessibleEvents events;
    Run([&] { frmQuillet->OpenFolderPath("C:\\inner"); });
    const int firstCell = 1 * 5;  // below the row of headers
    const auto selected = events.OfType(QAccessible::SelectionAdd);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].child, firstCell);
    const auto focus = events.OfType(QAccessible::Focus);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].child, firstCell);
    EXPECT_TRUE(focus[0].state.focused && focus[0].state.selected);
    EXPECT_EQ(NameOf(Reader()->child(firstCell)), "first.txt");
}

}  // namespace
