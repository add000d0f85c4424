// The drawing events: the row stage starts from the list's font, the name
// cell keeps what the row stage did, every other cell starts afresh.

#include "tests/listview_control/ListFixture.h"

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

}  // namespace
