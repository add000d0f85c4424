// The drawing events: the row stage starts from the list's font, the name
// cell keeps what the row stage did, every other cell starts afresh.

#include "tests/listview_control/ListFixture.h"

#include <QImage>

#include <set>

namespace {

struct DrawLog {
    std::set<int> columnsOfRow2;
    int rowStagesOfRow2 = 0;
    bool defaultDrawCameFalse = false;
    bool row2Selected = false;
};

// Row 2 is drawn red and struck out; its cell 3 turns navy.
void AttachPainter(TListView* list, DrawLog& log)
{
    list->OnCustomDrawItem = [&log](TCustomListView* sender, TListItem* item,
                                    TCustomDrawState state, bool& defaultDraw) {
        if (!defaultDraw) log.defaultDrawCameFalse = true;
        if (!item || item->Index != 2) return;
        ++log.rowStagesOfRow2;
        log.row2Selected = (state & cdsSelected) != 0;
        sender->Canvas()->Font->Color = clRed;
        sender->Canvas()->Font->Style |= fsStrikeOut;
    };
    list->OnCustomDrawSubItem = [&log](TCustomListView* sender, TListItem* item, int column,
                                       TCustomDrawState, bool& defaultDraw) {
        if (!defaultDraw) log.defaultDrawCameFalse = true;
        if (!item || item->Index != 2) return;
        log.columnsOfRow2.insert(column);
        if (column == 3) sender->Canvas()->Font->Color = clNavy;
    };
}

bool Drawn(const TListView* list, int row, int column)
{
    return list->LastDrawnStyle(row, column).color.isValid();
}

TEST(Drawing, ReportCellsFollowTheRowAndCellStages)
{
    ShownList shown(10, vsReport);
    DrawLog log;
    AttachPainter(shown.list.get(), log);
    shown.View()->viewport()->update();
    ASSERT_TRUE(
        SpinUntil([&] { return log.columnsOfRow2.size() == 5 && Drawn(shown.list.get(), 3, 4); }));

    const QColor windowText = ToQColor(clWindowText);
    const TListView* list = shown.list.get();
    EXPECT_EQ(list->LastDrawnStyle(2, 0).color, ToQColor(clRed));
    EXPECT_TRUE(list->LastDrawnStyle(2, 0).strikeOut);
    for (int column : {1, 2, 4}) {
        EXPECT_EQ(list->LastDrawnStyle(2, column).color, windowText) << column;
        EXPECT_FALSE(list->LastDrawnStyle(2, column).strikeOut) << column;
    }
    EXPECT_EQ(list->LastDrawnStyle(2, 3).color, ToQColor(clNavy));
    EXPECT_FALSE(list->LastDrawnStyle(2, 3).strikeOut);
    // The next row starts from the list's own font again.
    EXPECT_EQ(list->LastDrawnStyle(3, 0).color, windowText);
    EXPECT_FALSE(list->LastDrawnStyle(3, 0).strikeOut);

    EXPECT_EQ(log.columnsOfRow2, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(log.defaultDrawCameFalse);
}

TEST(Drawing, OneRowStagePerRowAndSelectedStateReported)
{
    ShownList shown(10, vsReport);
    DrawLog log;
    AttachPainter(shown.list.get(), log);
    Settle();
    shown.list->SetSelection(shown.list->Items()->GetItem(2));
    log.rowStagesOfRow2 = 0;
    shown.View()->viewport()->repaint();
    EXPECT_EQ(log.rowStagesOfRow2, 1);
    EXPECT_TRUE(log.row2Selected);
    // Selected rows are painted in the highlight, but the style the events
    // chose is what they chose.
    EXPECT_EQ(shown.list->LastDrawnStyle(2, 0).color, ToQColor(clRed));
}

class CaptionStyles : public ::testing::TestWithParam<TViewStyle> {};

TEST_P(CaptionStyles, CaptionCarriesTheRowStage)
{
    ShownList shown(10, GetParam());
    DrawLog log;
    AttachPainter(shown.list.get(), log);
    shown.View()->viewport()->update();
    ASSERT_TRUE(SpinUntil([&] { return Drawn(shown.list.get(), 2, 0); }));
    EXPECT_EQ(shown.list->LastDrawnStyle(2, 0).color, ToQColor(clRed));
    EXPECT_TRUE(shown.list->LastDrawnStyle(2, 0).strikeOut);
    EXPECT_TRUE(log.columnsOfRow2.empty()) << "cell stages belong to the report style";
    EXPECT_FALSE(Drawn(shown.list.get(), 2, 1));
}

INSTANTIATE_TEST_SUITE_P(NonReport, CaptionStyles, ::testing::Values(vsIcon, vsSmallIcon, vsList));

// What the screen shows of row: its cells, across the viewport.
QImage RowPixels(const QImage& shot, const QAbstractItemView* view, int row)
{
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    const bool report = view->model()->columnCount() > 1 && cell.left() == 0 && cell.top() > 0 &&
                        view->visualRect(view->model()->index(row, 1)).top() == cell.top();
    return shot.copy(report ? QRect(0, cell.top(), shot.width(), cell.height()) : cell);
}

class FontStyles : public ::testing::TestWithParam<TViewStyle> {};

// The painter keeps its font from cell to cell while nothing changes it, so
// a row drawn bold and struck out must not lend that to the rows after it.
TEST_P(FontStyles, ARowsFontEndsWithTheRow)
{
    ShownList shown(10, GetParam());
    QAbstractItemView* view = shown.View();
    Settle();
    const QImage plain = view->viewport()->grab().toImage();
    shown.list->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState,
                                      bool&) {
        if (item && item->Index == 2) sender->Canvas()->Font->Style |= fsBold | fsStrikeOut;
    };
    const QImage styled = view->viewport()->grab().toImage();
    EXPECT_NE(RowPixels(styled, view, 2), RowPixels(plain, view, 2));
    for (int row : {0, 1, 3, 4, 5})
        EXPECT_EQ(RowPixels(styled, view, row), RowPixels(plain, view, row)) << row;
}

// A larger list font makes taller rows at the next paint.
TEST_P(FontStyles, ALargerFontMakesTallerItems)
{
    ShownList shown(10, GetParam());
    QAbstractItemView* view = shown.View();
    Settle();
    const int before = view->visualRect(view->model()->index(0, 0)).height();
    shown.list->Font()->Height = -30;
    view->viewport()->repaint();
    Settle();
    EXPECT_GT(view->visualRect(view->model()->index(0, 0)).height(), before);
}

INSTANTIATE_TEST_SUITE_P(AllStyles, FontStyles,
                         ::testing::Values(vsIcon, vsSmallIcon, vsList, vsReport));

}  // namespace
