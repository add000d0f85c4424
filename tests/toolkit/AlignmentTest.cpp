// Aligned children share their parent's area in the order top, bottom,
// left, right, client; a splitter resizes the control aligned before it.

#include "platform/toolkit/CoolBar.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Panel.h"
#include "platform/toolkit/Splitter.h"
#include "tests/toolkit/ShowForm.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

QRect BoundsOf(const TControl* control)
{
    return QRect(control->Left(), control->Top(), control->Width(), control->Height());
}

struct Child {
    TAlign align;
    int size;  // height for top/bottom, width for left/right
    bool visible;
    QRect expected;
};

struct LayoutCase {
    const char* name;
    std::vector<Child> children;
};

class AlignmentTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AlignmentTest, ChildrenFillTheParentInAlignmentOrder)
{
    TForm form(nullptr);
    auto* parent = new TPanel(&form);
    parent->SetBevelOuter(bvNone);
    parent->SetParent(&form);
    parent->SetBounds(0, 0, 400, 300);
    std::vector<TPanel*> panels;
    for (const Child& child : GetParam().children) {
        auto* panel = new TPanel(&form);
        panel->SetBounds(5, 5, child.size, child.size);
        panel->SetVisible(child.visible);
        panel->SetAlign(child.align);
        panel->SetParent(parent);
        panels.push_back(panel);
    }
    for (size_t i = 0; i < panels.size(); ++i) {
        if (!GetParam().children[i].visible) continue;
        EXPECT_EQ(BoundsOf(panels[i]), GetParam().children[i].expected) << "child " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, AlignmentTest,
                         ::testing::Values(LayoutCase{"AllFive",
                                                      {{alClient, 0, true, {50, 30, 310, 250}},
                                                       {alTop, 30, true, {0, 0, 400, 30}},
                                                       {alBottom, 20, true, {0, 280, 400, 20}},
                                                       {alLeft, 50, true, {0, 30, 50, 250}},
                                                       {alRight, 40, true, {360, 30, 40, 250}}}},
                                           LayoutCase{"StackedTopsAndBottoms",
                                                      {{alTop, 10, true, {0, 0, 400, 10}},
                                                       {alTop, 15, true, {0, 10, 400, 15}},
                                                       {alBottom, 20, true, {0, 280, 400, 20}},
                                                       {alBottom, 5, true, {0, 275, 400, 5}},
                                                       {alClient, 0, true, {0, 25, 400, 250}}}},
                                           LayoutCase{"HiddenChildTakesNoSpace",
                                                      {{alTop, 30, false, {}},
                                                       {alLeft, 60, true, {0, 0, 60, 300}},
                                                       {alClient, 0, true, {60, 0, 340, 300}}}},
                                           LayoutCase{"UnalignedKeepsItsBounds",
                                                      {{alNone, 70, true, {5, 5, 70, 70}},
                                                       {alTop, 40, true, {0, 0, 400, 40}}}},
                                           LayoutCase{"TooSmallParentLeavesClientEmpty",
                                                      {{alLeft, 300, true, {0, 0, 300, 300}},
                                                       {alRight, 300, true, {100, 0, 300, 300}},
                                                       {alClient, 0, true, {300, 0, 0, 300}}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Layout follows later changes: the parent's size, a child's size,
// visibility and alignment.
TEST(Alignment, FollowsChangesAfterTheFact)
{
    TForm form(nullptr);
    auto* parent = new TPanel(&form);
    parent->SetBevelOuter(bvNone);
    parent->SetParent(&form);
    parent->SetBounds(0, 0, 200, 100);
    auto* top = new TPanel(&form);
    top->SetHeight(20);
    top->SetAlign(alTop);
    top->SetParent(parent);
    auto* client = new TPanel(&form);
    client->SetAlign(alClient);
    client->SetParent(parent);
    EXPECT_EQ(BoundsOf(client), QRect(0, 20, 200, 80));

    parent->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(BoundsOf(top), QRect(0, 0, 300, 20));
    EXPECT_EQ(BoundsOf(client), QRect(0, 20, 300, 130));

    top->SetHeight(50);
    EXPECT_EQ(BoundsOf(client), QRect(0, 50, 300, 100));

    top->SetVisible(false);
    EXPECT_EQ(BoundsOf(client), QRect(0, 0, 300, 150));

    top->SetVisible(true);
    top->SetAlign(alBottom);
    EXPECT_EQ(BoundsOf(top), QRect(0, 100, 300, 50));
    EXPECT_EQ(BoundsOf(client), QRect(0, 0, 300, 100));

    delete top;
    EXPECT_EQ(BoundsOf(client), QRect(0, 0, 300, 150));
}

// Cool bar bands stack downwards; each control fills its band's width.
TEST(Alignment, CoolBarBandsStackAndFillTheWidth)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    auto* bar = new TCoolBar(&form);
    bar->SetHeight(57);
    bar->SetAlign(alTop);
    bar->SetParent(&form);
    auto* first = new TPanel(&form);
    first->SetHeight(25);
    auto* second = new TPanel(&form);
    second->SetHeight(10);
    bar->AddBand(first, 25, 787);
    bar->AddBand(second, 21, 787);
    EXPECT_EQ(bar->BandCount(), 2);
    EXPECT_EQ(first->Parent(), bar);
    EXPECT_LT(first->Top() + first->Height(), second->Top());
    EXPECT_EQ(second->Height(), 21);  // the band's minimum height
    EXPECT_EQ(first->Width(), second->Width());
    const int width = first->Width();
    form.SetBounds(0, 0, 700, 300);
    EXPECT_EQ(first->Width(), width + 200);
}

struct DragCase {
    const char* name;
    TAlign align;
    int drag;      // mouse movement along the splitter's axis
    int expected;  // size of the resized control afterwards
};

class SplitterDragTest : public ::testing::TestWithParam<DragCase> {};

// The parent is 400 x 300; the resized control starts at 100, the splitter
// is 3 thick and MinSize 30 holds for the control and the client area.
TEST_P(SplitterDragTest, DraggingResizesTheControlBefore)
{
    const DragCase& c = GetParam();
    const bool vertical = c.align == alTop || c.align == alBottom;
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* neighbour = new TPanel(&form);
    neighbour->SetBounds(0, 0, 100, 100);
    neighbour->SetAlign(c.align);
    neighbour->SetParent(&form);
    auto* splitter = new TSplitter(&form);
    splitter->SetBounds(0, 0, 3, 3);
    splitter->SetAlign(c.align);
    splitter->SetParent(&form);
    auto* client = new TPanel(&form);
    client->SetAlign(alClient);
    client->SetParent(&form);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    ASSERT_TRUE(ShowForm(form));
    ASSERT_EQ(splitter->ResizedControl(), neighbour);

    QWidget* bar = splitter->Widget();
    const QPoint start(1, 1);
    const QPoint end = start + (vertical ? QPoint(0, c.drag) : QPoint(c.drag, 0));
    const QPoint globalEnd = bar->mapToGlobal(end);
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    QTest::mouseMove(bar, end);
    // The bar has moved under the mouse: release where the mouse now is.
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromGlobal(globalEnd));

    EXPECT_EQ(vertical ? neighbour->Height() : neighbour->Width(), c.expected);
    EXPECT_EQ(moved, 1);
    // The client area takes what is left over.
    const int total = vertical ? 300 : 400;
    EXPECT_EQ(vertical ? client->Height() : client->Width(), total - c.expected - 3);
    form.Close();
}

// A 3-pixel bar is caught up to 2 pixels beside it, over both neighbours,
// with the resize cursor, and a drag from there resizes as one on the bar.
TEST(Splitter, GripReachesBesideTheBar)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* neighbour = new TPanel(&form);
    neighbour->SetBounds(0, 0, 100, 100);
    neighbour->SetAlign(alLeft);
    neighbour->SetParent(&form);
    auto* splitter = new TSplitter(&form);
    splitter->SetAlign(alLeft);
    splitter->SetWidth(3);
    splitter->SetParent(&form);
    auto* client = new TPanel(&form);
    client->SetAlign(alClient);
    client->SetParent(&form);
    ASSERT_TRUE(ShowForm(form));
    ASSERT_EQ(splitter->Left(), 100);

    QWidget* window = form.Widget();
    int caught = 0;
    for (int x = 95; x < 110; ++x) {
        QWidget* under = window->childAt(x, 50);
        if (!under || under->cursor().shape() != Qt::SplitHCursor) continue;
        ++caught;
        EXPECT_TRUE(x >= 98 && x <= 104) << x;
    }
    EXPECT_GE(caught, 6);

    QWidget* grip = window->childAt(98, 50);
    ASSERT_NE(grip, nullptr);
    const QPoint start = grip->mapFrom(window, QPoint(98, 50));
    QTest::mousePress(grip, Qt::LeftButton, {}, start);
    QTest::mouseMove(grip, start + QPoint(20, 0));
    QTest::mouseRelease(grip, Qt::LeftButton, {}, start + QPoint(20, 0));
    EXPECT_EQ(neighbour->Width(), 120);
    EXPECT_EQ(splitter->Left(), 120);
    EXPECT_EQ(window->childAt(119, 50), grip);

    splitter->Hide();
    EXPECT_NE(window->childAt(119, 50), grip);
    form.Close();
}

INSTANTIATE_TEST_SUITE_P(Drags, SplitterDragTest,
                         ::testing::Values(DragCase{"LeftGrows", alLeft, 50, 150},
                                           DragCase{"LeftShrinksToMinSize", alLeft, -90, 30},
                                           DragCase{"LeftLeavesClientMinSize", alLeft, 500,
                                                    400 - 3 - 30},
                                           DragCase{"RightGrowsLeftwards", alRight, -40, 140},
                                           DragCase{"TopGrows", alTop, 20, 120},
                                           DragCase{"BottomGrowsUpwards", alBottom, -60, 160},
                                           DragCase{"BottomShrinks", alBottom, 30, 70}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
