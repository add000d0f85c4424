// The list as a screen reader reads it: its shape in each style, cells that
// come through the owner-data path only when a reader asks for them, and the
// focus and selection events a reader follows.

#include "tests/listview_control/ListFixture.h"
#include "tests/support/AccessibleEvents.h"

#include "platform/toolkit/ImageList.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

namespace {

const QStringList kCaptions{"c175", "c75", "c150", "c100", "c75"};

QAccessibleInterface* ReaderView(const ShownList& shown)
{
    return QAccessible::queryAccessibleInterface(shown.View());
}

QString NameOf(QAccessibleInterface* iface)
{
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

// The texts the fake provider gives row.
QStringList RowTexts(int row)
{
    return {QString("row %1").arg(row), "12KB", "Text", "2026-12-08", "RA"};
}

// The shape of each style, and cells whose child index and place agree.
TEST(AccessibleListShape, ReportIsATableUnderItsColumnHeaders)
{
    ShownList shown(50);
    ASSERT_TRUE(shown.WaitForRequests());
    QAccessibleInterface* view = ReaderView(shown);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::Table);
    QAccessibleTableInterface* table = view->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 50);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(view->childCount(), 51 * 5) << "a row of headers, then the rows";
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(table->columnDescription(column), kCaptions[column]);
        QAccessibleInterface* header = view->child(column);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(NameOf(header), kCaptions[column]);

        QAccessibleInterface* cell = table->cellAt(7, column);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(NameOf(cell), RowTexts(7)[column]);
        const int index = view->indexOfChild(cell);
        EXPECT_EQ(index, 8 * 5 + column);
        EXPECT_EQ(view->child(index), cell);
        EXPECT_EQ(cell->parent(), view);
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(place->rowIndex(), 7);
        EXPECT_EQ(place->columnIndex(), column);
        EXPECT_EQ(NameOf(place->columnHeaderCells().value(0)), kCaptions[column]);
        EXPECT_TRUE(shown.View()->viewport()->rect().contains(
            shown.View()->viewport()->mapFromGlobal(cell->rect().center())));
    }
    EXPECT_EQ(table->cellAt(50, 0), nullptr);
    EXPECT_EQ(table->cellAt(0, 5), nullptr);
    EXPECT_EQ(view->child(51 * 5), nullptr);
}

class AccessibleListStyles : public ::testing::TestWithParam<TViewStyle> {};

TEST_P(AccessibleListStyles, OtherStylesAreAListOfOneItemPerRow)
{
    ShownList shown(50, GetParam());
    ASSERT_TRUE(shown.WaitForRequests());
    QAccessibleInterface* view = ReaderView(shown);
    EXPECT_EQ(view->role(), QAccessible::List);
    EXPECT_EQ(view->tableInterface()->rowCount(), 50);
    EXPECT_EQ(view->tableInterface()->columnCount(), 1);
    EXPECT_EQ(view->childCount(), 50);
    for (int row : {0, 7, 49}) {
        QAccessibleInterface* item = view->child(row);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(NameOf(item), RowTexts(row)[0]);
        EXPECT_EQ(view->indexOfChild(item), row);
    }
}

INSTANTIATE_TEST_SUITE_P(IconsAndList, AccessibleListStyles,
                         ::testing::Values(vsIcon, vsSmallIcon, vsList));

TEST(AccessibleListShape, SwitchingTheStyleSwitchesTheShapeAndSaysSo)
{
    ShownList shown(50);
    ASSERT_TRUE(shown.WaitForRequests());
    QAccessibleInterface* view = ReaderView(shown);
    QAccessibleInterface* cell = view->tableInterface()->cellAt(3, 2);
    ASSERT_TRUE(cell && cell->isValid());
    const QAccessible::Id cellId = QAccessible::uniqueId(cell);

    // Readers keep an object's role: the table goes and a list comes.
    AccessibleEvents events;
    shown.list->SetViewStyle(vsList);
    QAccessibleInterface* old = QAccessible::accessibleInterface(cellId);
    EXPECT_TRUE(!old || !old->isValid()) << "a cell of the table outlived it";
    view = ReaderView(shown);
    EXPECT_EQ(view->role(), QAccessible::List);
    EXPECT_EQ(view->childCount(), 50);
    EXPECT_EQ(view->child(3)->role(), QAccessible::ListItem);
    EXPECT_EQ(events.OfType(QAccessible::ObjectDestroyed).size(), 1u);
    auto made = events.OfType(QAccessible::ObjectCreated);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].role, QAccessible::List);

    // Between two list styles the list stays and its rows are told anew.
    shown.list->SetViewStyle(vsSmallIcon);
    EXPECT_EQ(ReaderView(shown), view);
    EXPECT_EQ(events.OfType(QAccessible::TableModelChanged).size(), 1u);

    shown.list->SetViewStyle(vsReport);
    view = ReaderView(shown);
    EXPECT_EQ(view->role(), QAccessible::Table);
    EXPECT_EQ(NameOf(view->child(4 * 5 + 2)), "Text");
    made = events.OfType(QAccessible::ObjectCreated);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1].role, QAccessible::Table);
}

// Lets the first paint ask for its rows, then forgets them: what follows is
// the reader's alone.
void PaintThenForget(ShownList& shown)
{
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    shown.provider.Forget();
}

void ExpectCleanRequests(const FakeProvider& provider)
{
    EXPECT_EQ(provider.requestsBeforeHint, 0);
    EXPECT_EQ(provider.requestsOutsideHint, 0);
    EXPECT_EQ(provider.badHints, 0);
    EXPECT_EQ(provider.dirtyRows, 0);
}

// A reader's cell is produced as a painted one is, for its row alone, and
// nothing else is asked for however long the list: counts are arithmetic.
TEST(AccessibleListCells, ACellComesThroughTheRequestOfItsRowAloneAmongAMillion)
{
    ShownList shown(1000000);
    PaintThenForget(shown);
    QAccessibleInterface* view = ReaderView(shown);
    QAccessibleTableInterface* table = view->tableInterface();
    EXPECT_EQ(table->rowCount(), 1000000);
    ASSERT_EQ(view->childCount(), 1000001 * 5);
    EXPECT_TRUE(table->selectedRows().isEmpty());
    EXPECT_TRUE(shown.provider.requests.empty()) << "counting asked for rows";

    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(NameOf(table->cellAt(500000, column)), RowTexts(500000)[column]);
    ASSERT_EQ(shown.provider.hints.size(), 1u);
    EXPECT_EQ(shown.provider.hints[0].first, 500000);
    EXPECT_EQ(shown.provider.hints[0].last, 500000);
    EXPECT_EQ(shown.provider.requests, std::vector<int>{500000});
    EXPECT_EQ(view->indexOfChild(table->cellAt(500000, 0)), 500001 * 5);

    QAccessibleInterface* last = view->child(view->childCount() - 1);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->tableCellInterface()->rowIndex(), 999999);
    EXPECT_EQ(NameOf(last), "RA");
    EXPECT_EQ(shown.provider.requests, (std::vector<int>{500000, 999999}));
    ExpectCleanRequests(shown.provider);
}

TEST(AccessibleListCells, PaintedRowsAnswerFromThePaint)
{
    ShownList shown(1000);
    PaintThenForget(shown);
    EXPECT_EQ(NameOf(ReaderView(shown)->tableInterface()->cellAt(2, 0)), "row 2");
    EXPECT_TRUE(shown.provider.requests.empty());
}

TEST(AccessibleListCells, NothingIsAskedForInsideAnUpdateBracket)
{
    ShownList shown(1000);
    PaintThenForget(shown);
    QAccessibleTableInterface* table = ReaderView(shown)->tableInterface();
    shown.list->Items()->BeginUpdate();
    EXPECT_EQ(NameOf(table->cellAt(900, 0)), "");
    EXPECT_TRUE(shown.provider.requests.empty());
    shown.list->Items()->EndUpdate();
    EXPECT_EQ(NameOf(table->cellAt(900, 0)), "row 900");
    ExpectCleanRequests(shown.provider);
}

// Focus and selection follow the current row, told as Qt's views tell them.
class AccessibleListEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shown.WaitForRequests());
        shown.list->SetSelection(shown.list->Items()->GetItem(0));
        shown.list->Items()->GetItem(0)->SetState(isFocused, true);
        QApplication::setActiveWindow(shown.list->Widget());
        shown.View()->setFocus();
        ASSERT_TRUE(SpinUntil([this] { return shown.View()->hasFocus(); }));
    }
    ShownList shown{50};
};

TEST_F(AccessibleListEvents, ArrowsMoveTheFocusedAndSelectedCell)
{
    AccessibleEvents events;
    QTest::keyClick(shown.View(), Qt::Key_Down);
    const auto focus = events.OfType(QAccessible::Focus);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].role, QAccessible::Cell);
    EXPECT_EQ(focus[0].name, "row 1");
    EXPECT_EQ(focus[0].child, 2 * 5);
    EXPECT_TRUE(focus[0].state.focused);
    EXPECT_TRUE(focus[0].state.selected);
    const auto added = events.OfType(QAccessible::SelectionAdd);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].name, "row 1");
    const auto removed = events.OfType(QAccessible::SelectionRemove);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].name, "row 0");
    EXPECT_FALSE(removed[0].state.selected);
}

TEST_F(AccessibleListEvents, TypeAheadMovesTheFocusToTheRowFound)
{
    shown.list->OnDataFind = [](TObject*, TItemFind, const AnsiString& text, const TPoint&, void*,
                                int, TSearchDirection, bool, int& index) {
        if (text == "r") index = 30;
    };
    shown.list->SetViewStyle(vsList);
    AccessibleEvents events;
    QTest::keyClick(shown.View(), Qt::Key_R);
    const auto focus = events.OfType(QAccessible::Focus);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].role, QAccessible::ListItem);
    EXPECT_EQ(focus[0].name, "row 30");
    EXPECT_EQ(focus[0].child, 30);
    EXPECT_TRUE(focus[0].state.focused && focus[0].state.selected);
    EXPECT_EQ(events.OfType(QAccessible::SelectionAdd).size(), 1u);
}

TEST_F(AccessibleListEvents, NoFocusIsToldForAListWithoutTheFocus)
{
    shown.View()->clearFocus();
    AccessibleEvents events;
    shown.list->Items()->GetItem(5)->SetState(isFocused, true);
    EXPECT_TRUE(events.OfType(QAccessible::Focus).empty());
    // Taking the focus tells the current cell.
    shown.View()->setFocus();
    ASSERT_TRUE(SpinUntil([&] {
        return !events.OfType(QAccessible::Focus).empty() &&
               events.OfType(QAccessible::Focus).back().name == "row 5";
    })) << "the current cell is not the last focus told";
}

// Ordinary items, as the gallery adds them: each a list item with its
// picture, told to readers as it arrives.
TEST(AccessibleListItems, ItemsArriveWithTheirPictures)
{
    auto list = std::make_unique<TListView>(nullptr);
    TImageList images(nullptr);
    images.SetSize(120, 90);
    list->SetViewStyle(vsIcon);
    list->SetLargeImages(&images);
    list->Widget()->resize(640, 480);
    list->Widget()->show();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list->ActiveView());
    EXPECT_EQ(view->childCount(), 0);

    AccessibleEvents events;
    for (int i = 0; i < 3; ++i) {
        QPixmap tile(120, 90);
        tile.fill(Qt::blue);
        TListItem* item = list->Items()->Add();
        item->Caption = "picture " + std::to_string(i) + ".jpg";
        item->ImageIndex = i == 1 ? -1 : images.AddPixmap(tile);
    }
    Settle();
    EXPECT_EQ(events.OfType(QAccessible::ObjectCreated).size(), 3u);
    ASSERT_EQ(view->childCount(), 3);
    QAccessibleInterface* item = view->child(2);
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(NameOf(item), "picture 2.jpg");
    ASSERT_EQ(item->childCount(), 1);
    QAccessibleInterface* picture = item->child(0);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_EQ(picture->parent(), item);
    EXPECT_EQ(item->indexOfChild(picture), 0);
    ASSERT_NE(picture->imageInterface(), nullptr);
    EXPECT_EQ(picture->imageInterface()->imageSize(), QSize(120, 90));
    EXPECT_EQ(picture->imageInterface()->imageDescription(), "picture 2.jpg");
    EXPECT_TRUE(item->rect().contains(picture->rect()));
    EXPECT_EQ(view->child(1)->childCount(), 0) << "an item without a picture";
}

}  // namespace
