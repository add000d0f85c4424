// Owner-data rows are asked for only when they are about to be shown: the
// hint first, then the rows inside it, about a screenful at a time.

#include "tests/listview_control/ListFixture.h"

#include <QAbstractItemModelTester>
#include <QWheelEvent>

namespace {

constexpr int kRows = 100000;
// Far more than any style shows at 640 x 480, far fewer than the list holds.
constexpr int kScreenful = 1000;

class OwnerDataStyles : public ::testing::TestWithParam<TViewStyle> {};

void ExpectCleanRequests(const FakeProvider& provider)
{
    EXPECT_EQ(provider.requestsBeforeHint, 0);
    EXPECT_EQ(provider.requestsOutsideHint, 0);
    EXPECT_EQ(provider.badHints, 0);
    EXPECT_EQ(provider.dirtyRows, 0);
}

// The scroll bar a style pages through: list columns run sideways.
QScrollBar* ScrollBarOf(QAbstractItemView* view, TViewStyle style)
{
    return style == vsList ? view->horizontalScrollBar() : view->verticalScrollBar();
}

TEST_P(OwnerDataStyles, AsksOnlyForWhatIsShownHintFirst)
{
    ShownList shown(kRows, GetParam());
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    const FakeProvider& provider = shown.provider;
    ExpectCleanRequests(provider);
    ASSERT_FALSE(provider.hints.empty());
    EXPECT_EQ(provider.hints.front().first, 0);
    EXPECT_EQ(provider.MinRequest(), 0);
    EXPECT_LT(static_cast<int>(provider.requests.size()), kScreenful);
    EXPECT_LT(provider.MaxRequest(), kScreenful);
}

TEST_P(OwnerDataStyles, ScrollingAsksForTheNewlyVisibleRowsOnly)
{
    const TViewStyle style = GetParam();
    ShownList shown(kRows, style);
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    shown.provider.Forget();

    QScrollBar* bar = ScrollBarOf(shown.View(), style);
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum() / 2);
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    const FakeProvider& provider = shown.provider;
    ExpectCleanRequests(provider);
    EXPECT_GT(provider.MinRequest(), kRows / 4);
    EXPECT_LT(provider.MaxRequest(), kRows * 3 / 4);
    EXPECT_LT(provider.MaxRequest() - provider.MinRequest(), kScreenful);
}

TEST_P(OwnerDataStyles, SwitchingTheStyleAsksAgain)
{
    const TViewStyle style = GetParam();
    ShownList shown(kRows, style == vsReport ? vsIcon : vsReport);
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    shown.provider.Forget();

    shown.list->SetViewStyle(style);
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    ExpectCleanRequests(shown.provider);
    EXPECT_LT(shown.provider.MaxRequest(), kScreenful);
}

TEST_P(OwnerDataStyles, LastRowsNeverPassTheCount)
{
    ShownList shown(kRows, GetParam());
    ASSERT_TRUE(shown.WaitForRequests());
    shown.list->Items()->GetItem(kRows - 1);  // the program's own request
    shown.provider.Forget();
    QScrollBar* bar = ScrollBarOf(shown.View(), GetParam());
    bar->setValue(bar->maximum());
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    ExpectCleanRequests(shown.provider);
    EXPECT_EQ(shown.provider.hints.back().last, kRows - 1);
}

// A turn of an ordinary wheel scrolls every style forward and back, the list
// style's sideways columns included, and asks for the rows it brings in.
TEST_P(OwnerDataStyles, TheWheelScrollsEveryStyle)
{
    const TViewStyle style = GetParam();
    ShownList shown(kRows, style);
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    shown.provider.Forget();
    QWidget* viewport = shown.View()->viewport();
    const auto turn = [viewport](int notches) {
        const QPointF middle = QRectF(viewport->rect()).center();
        QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
        Settle();
    };
    QScrollBar* bar = ScrollBarOf(shown.View(), style);
    turn(-3);
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(shown.WaitForRequests());
    ExpectCleanRequests(shown.provider);
    turn(3);
    EXPECT_EQ(bar->value(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllStyles, OwnerDataStyles,
                         ::testing::Values(vsIcon, vsSmallIcon, vsList, vsReport));

// A count change never lets a row of the old count be asked for.
TEST(OwnerDataCount, EmptyListAsksForNothing)
{
    ShownList shown(kRows);
    ASSERT_TRUE(shown.WaitForRequests());
    shown.provider.Forget();
    shown.list->Items()->SetCount(0);
    Settle();
    EXPECT_TRUE(shown.provider.requests.empty());
    EXPECT_TRUE(shown.provider.hints.empty());
    EXPECT_EQ(shown.list->GetSelection(), nullptr);
}

TEST(OwnerDataCount, CountChangedInsideAnUpdateBracket)
{
    ShownList shown(kRows);
    ASSERT_TRUE(shown.WaitForRequests());
    shown.View()->verticalScrollBar()->setValue(5000);
    Settle();
    shown.provider.Forget();

    shown.list->Items()->BeginUpdate();
    shown.list->Items()->BeginUpdate();
    shown.list->Items()->SetCount(7);
    shown.list->Items()->EndUpdate();
    Settle();
    EXPECT_TRUE(shown.provider.requests.empty()) << "still inside the outer bracket";
    shown.list->Items()->EndUpdate();
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    ExpectCleanRequests(shown.provider);
    EXPECT_EQ(shown.provider.MaxRequest(), 6);
    EXPECT_EQ(shown.list->Items()->GetCount(), 7);
}

TEST(OwnerDataCount, ModelKeepsQtsRulesThroughCountChanges)
{
    ShownList shown(100);
    QAbstractItemModelTester tester(shown.View()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    shown.list->Items()->SetCount(0);
    shown.list->Items()->SetCount(3);
    shown.list->SetViewStyle(vsList);
    shown.list->Columns()->Add();
    shown.list->Columns()->Changed();
    Settle();
    EXPECT_EQ(shown.View()->model()->columnCount(), 6);
}

TEST(OwnerDataCount, ProgramRequestsAreFilledFreshAndBounded)
{
    ShownList shown(10);
    ASSERT_TRUE(shown.WaitForRequests());
    TListItem* item = shown.list->Items()->GetItem(4);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Index, 4);
    EXPECT_EQ(item->Caption, "row 4");
    EXPECT_EQ(item->SubItems->GetCount(), 4);
    // Asking again refills a blank row, not one with eight sub-items.
    item = shown.list->Items()->GetItem(5);
    EXPECT_EQ(item->SubItems->GetCount(), 4);
    EXPECT_EQ(shown.provider.dirtyRows, 0);
    EXPECT_EQ(shown.list->Items()->GetItem(10), nullptr);
    EXPECT_EQ(shown.list->Items()->GetItem(-1), nullptr);
}

}  // namespace
