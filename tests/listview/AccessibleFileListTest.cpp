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

#include <sys/stat.h>

#include <string>

namespace {

class AccessibleFileListTest : public FolderWindowTest {
protected:
    QAccessibleInterface* Reader() const
    {
        return QAccessible::queryAccessibleInterface(frmQuillet->lstvwVirtualList->ActiveView());
    }
    // C:\ holds "inner" with two files; the list shows C:\ with the focus.
    QAbstractItemView* OpenInnerWithTheListFocused()
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
        return view;
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
        // Named by the open folder; the description says the style.
        EXPECT_FALSE(list->text(QAccessible::Name).isEmpty());
        EXPECT_TRUE(list->text(QAccessible::Description).startsWith("3 個項目"));
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
    QAbstractItemView* view = OpenInnerWithTheListFocused();
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

// Attributes are letters on screen and words for a reader: the cell's
// description in the report, the row's in the other styles.
TEST_F(AccessibleFileListTest, AttributesAreReadAsWords)
{
    MakeFile("plain.txt");
    MakeFile("locked.txt");
    ASSERT_EQ(::chmod(PathOf("locked.txt").toLocal8Bit().constData(), 0444), 0);
    MakeFile(".secret");
    ASSERT_EQ(::mkfifo(PathOf("pipe").toLocal8Bit().constData(), 0644), 0);
    OpenWindow();
    ShowAtFixedSize();
    LoadAll();
    const struct {
        const char* name;
        const char* letters;
        const char* words;
    } cases[] = {{"plain.txt", "A", "封存"},
                 {"locked.txt", "RA", "唯讀，封存"},
                 {".secret", "HA", "隱藏，封存"},
                 {"pipe", "S", "系統"}};
    QAccessibleTableInterface* table = Reader()->tableInterface();
    for (const auto& c : cases) {
        QAccessibleInterface* cell = table->cellAt(RowOf(c.name), 4);
        EXPECT_EQ(NameOf(cell), c.letters);
        EXPECT_EQ(cell->text(QAccessible::Description), QString(c.words)) << c.name;
    }
    Run([] { frmQuillet->SmallIcons1Click(nullptr); });
    Settle();
    for (const auto& c : cases) {
        QAccessibleInterface* item = Reader()->child(RowOf(c.name));
        EXPECT_EQ(NameOf(item), c.name);
        EXPECT_EQ(item->text(QAccessible::Description), QString(c.words)) << c.name;
    }
}

// Every way of opening a folder tells a reader the folder's name and number
// of items, then the focused row; a style switch tells the new style and
// brings the list back in its new role.
TEST_F(AccessibleFileListTest, OpensAndStylesAreAnnounced)
{
    QAbstractItemView* view = OpenInnerWithTheListFocused();

    AccessibleEvents events;
    // The list's summary changed, then the focus fell on a row: as a reader
    // hears it after an open.
    const auto expectAnnounced = [&](const QString& folder, int items, const char* how) {
        SCOPED_TRACE(how);
        Settle();
        int summary = -1, focus = -1;
        for (int i = 0; i < static_cast<int>(events.events.size()); ++i) {
            const AccessibleEvents::Event& e = events.events[static_cast<size_t>(i)];
            if (e.type == QAccessible::DescriptionChanged && e.name.contains(folder) &&
                e.description.startsWith(QString::number(items) + " 個項目"))
                summary = i;
            if (e.type == QAccessible::Focus && summary >= 0 && i > summary) focus = i;
        }
        QString heard;
        for (const auto& e : events.OfType(QAccessible::DescriptionChanged))
            heard += e.name + " / " + e.description + "; ";
        EXPECT_GE(summary, 0) << "no summary naming " << folder.toStdString() << ", heard "
                              << heard.toStdString();
        EXPECT_GT(focus, summary) << "no focused row after the summary";
        events.Clear();
    };
    const auto type = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };

    Run([&] { frmQuillet->OpenFolderPath("C:\\inner"); });
    view->setFocus();
    expectAnnounced("inner", 2, "a typed path");
    type(Qt::Key_F5);
    expectAnnounced("inner", 2, "F5");
    type(Qt::Key_Backspace);
    view->setFocus();
    expectAnnounced("C:", 1, "Backspace");
    type(Qt::Key_Return);
    view->setFocus();
    expectAnnounced("inner", 2, "Enter");
    type(Qt::Key_Up, Qt::AltModifier);
    view->setFocus();
    expectAnnounced("C:", 1, "Alt+Up");
    RecordingDialogs::Instance().pickerAnswers.push_back(AnsiString("C:\\inner"));
    type(Qt::Key_O, Qt::ControlModifier);
    view->setFocus();
    expectAnnounced("inner", 2, "Browse");

    // Styles: the old object goes, one of the new role comes, and the reader
    // hears the style's name with the focused row.
    const auto expectStyle = [&](Qt::Key key, QAccessible::Role role, const QString& name) {
        SCOPED_TRACE(name.toStdString());
        type(key, Qt::ControlModifier);
        Settle();
        const auto made = events.OfType(QAccessible::ObjectCreated);
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.back().role, role);
        bool heard = false;
        for (const auto& e : events.OfType(QAccessible::DescriptionChanged))
            heard = heard || (e.role == role && e.description.endsWith(name));
        EXPECT_TRUE(heard);
        EXPECT_FALSE(events.OfType(QAccessible::Focus).empty());
        EXPECT_EQ(Reader()->role(), role);
        events.Clear();
    };
    expectStyle(Qt::Key_1, QAccessible::List, "大圖示");
    expectStyle(Qt::Key_4, QAccessible::Table, "詳細資料");
}

}  // namespace
