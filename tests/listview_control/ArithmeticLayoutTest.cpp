// A million rows in every style: cells are found by arithmetic and the view
// keeps nothing per row.

#include "tests/listview_control/ListFixture.h"

#include <QTest>

#include <malloc.h>

namespace {

constexpr int kMillion = 1000000;

class MillionRows : public ::testing::TestWithParam<TViewStyle> {};

// Large blocks are mapped on their own and counted apart from the heap.
size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST_P(MillionRows, LastRowIsFoundByArithmeticAndNothingIsKeptPerRow)
{
    ShownList shown(10, GetParam());
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    QAbstractItemView* view = shown.View();
    // Once through first, so that what the toolkit caches on a first paint
    // (glyphs, pictures) is not counted against the rows.
    for (int count : {1000, 10}) {
        shown.list->Items()->SetCount(count);
        view->viewport()->repaint();
        Settle();
    }

    const size_t before = HeapInUse();
    shown.list->Items()->SetCount(kMillion);
    view->viewport()->repaint();
    Settle();
    const size_t after = HeapInUse();
    const double perRow = after > before ? double(after - before) / kMillion : 0.0;
    RecordProperty("bytes_per_row", std::to_string(perRow));
    EXPECT_LT(perRow, 0.05) << "the view grew by " << after - before << " bytes";

    const QModelIndex last = view->model()->index(kMillion - 1, 0);
    view->scrollTo(last);
    Settle();
    const QRect rect = view->visualRect(last);
    EXPECT_TRUE(view->viewport()->rect().contains(rect));
    EXPECT_EQ(view->indexAt(rect.center()).row(), kMillion - 1);
    EXPECT_EQ(view->indexAt(rect.topLeft()).row(), kMillion - 1);
    EXPECT_FALSE(view->indexAt(rect.bottomRight() + QPoint(2, 2)).isValid())
        << "nothing lies past the last row";
    ASSERT_FALSE(shown.provider.hints.empty());
    EXPECT_EQ(shown.provider.hints.back().last, kMillion - 1);
    EXPECT_EQ(shown.provider.requestsOutsideHint, 0);
}

INSTANTIATE_TEST_SUITE_P(AllStyles, MillionRows,
                         ::testing::Values(vsIcon, vsSmallIcon, vsList, vsReport));

// Arrow keys follow the flow of each style: a line of cells is stepped over
// across it, one cell along it.
TEST(ArrowKeys, StepAlongAndAcrossTheFlow)
{
    struct Case {
        TViewStyle style;
        Qt::Key key;
        bool sameColumn;  // the cell reached is straight below
        bool sameRow;     // the cell reached is straight beside
    };
    const Case cases[] = {
        {vsReport, Qt::Key_Down, true, false}, {vsIcon, Qt::Key_Down, true, false},
        {vsIcon, Qt::Key_Right, false, true},  {vsSmallIcon, Qt::Key_Down, true, false},
        {vsList, Qt::Key_Right, false, true},  {vsList, Qt::Key_Down, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " key " << c.key);
        ShownList shown(5000, c.style);
        ASSERT_TRUE(shown.WaitForRequests());
        QAbstractItemView* view = shown.View();
        shown.list->Items()->GetItem(0)->SetState(isFocused, true);
        QTest::keyClick(view, c.key);
        TListItem* focused = shown.list->ItemFocused();
        ASSERT_NE(focused, nullptr);
        ASSERT_GT(focused->Index, 0);
        const QRect from = view->visualRect(view->model()->index(0, 0));
        const QRect to = view->visualRect(view->model()->index(focused->Index, 0));
        if (c.sameColumn) {
            EXPECT_EQ(to.left(), from.left());
            EXPECT_EQ(to.top(), from.bottom() + 1);
        }
        if (c.sameRow) {
            EXPECT_EQ(to.top(), from.top());
            EXPECT_EQ(to.left(), from.right() + 1);
        }
        QTest::keyClick(view, Qt::Key_End);
        EXPECT_EQ(shown.list->ItemFocused()->Index, 4999);
        EXPECT_TRUE(
            view->viewport()->rect().contains(view->visualRect(view->model()->index(4999, 0))));
        QTest::keyClick(view, Qt::Key_PageUp);
        const int paged = shown.list->ItemFocused()->Index;
        EXPECT_LT(paged, 4999);
        EXPECT_GT(paged, 4999 - 1000) << "a page is about a screenful";
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(shown.list->ItemFocused()->Index, 0);
    }
}

}  // namespace
