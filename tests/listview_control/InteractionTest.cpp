// Selection and focus, keys, type-ahead, ordinary items and image lists.

#include "tests/listview_control/ListFixture.h"

#include "platform/base/ImageListData.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/PopupMenu.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include <QPainter>
#include <QTest>

namespace {

bool FullyVisible(QAbstractItemView* view, int row)
{
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    return view->viewport()->rect().contains(rect);
}

TEST(Selection, SelectFocusAndMakeVisible)
{
    ShownList shown(100000, vsReport);
    ASSERT_TRUE(shown.WaitForRequests());
    TListView* list = shown.list.get();
    EXPECT_EQ(list->GetSelection(), nullptr);

    list->SetSelection(list->Items()->GetItem(5000));
    EXPECT_FALSE(FullyVisible(shown.View(), 5000));
    TListItem* selected = list->GetSelection();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Index, 5000);
    EXPECT_EQ(selected->Caption, "row 5000");
    EXPECT_TRUE(selected->GetState(isSelected));
    EXPECT_FALSE(selected->GetState(isFocused));

    selected->SetState(isFocused, true);
    EXPECT_EQ(list->ItemFocused()->Index, 5000);
    list->GetSelection()->MakeVisible(false);
    EXPECT_TRUE(FullyVisible(shown.View(), 5000));

    shown.provider.Forget();
    Settle();
    EXPECT_LE(shown.provider.MinRequest(), 5000);
    EXPECT_GE(shown.provider.MaxRequest(), 5000);

    list->SetSelection(nullptr);
    EXPECT_EQ(list->GetSelection(), nullptr);
    list->SetSelection(list->Items()->GetItem(3));
    list->Items()->SetCount(50);
    EXPECT_EQ(list->GetSelection(), nullptr) << "a new count clears the selection";
}

TEST(Selection, MakeVisibleInsideAnUpdateBracket)
{
    ShownList shown(100000, vsSmallIcon);
    ASSERT_TRUE(shown.WaitForRequests());
    TListView* list = shown.list.get();
    list->Items()->BeginUpdate();
    list->Items()->SetCount(90000);
    list->SetSelection(list->Items()->GetItem(80000));
    list->GetSelection()->SetState(isFocused, true);
    list->GetSelection()->MakeVisible(false);
    shown.provider.Forget();
    list->Items()->EndUpdate();
    ASSERT_TRUE(shown.WaitForRequests());
    Settle();
    EXPECT_TRUE(FullyVisible(shown.View(), 80000));
    EXPECT_EQ(shown.provider.requestsOutsideHint, 0);
}

TEST(Keys, OnKeyDownSeesKeysFirstAndMayConsumeThem)
{
    ShownList shown(100, vsReport);
    ASSERT_TRUE(shown.WaitForRequests());
    TListView* list = shown.list.get();
    list->SetSelection(list->Items()->GetItem(0));
    list->GetSelection()->SetState(isFocused, true);
    std::vector<WORD> keys;
    bool consume = false;
    list->OnKeyDown = [&](TObject* sender, WORD& key, TShiftState) {
        EXPECT_EQ(sender, list);
        keys.push_back(key);
        if (consume) key = 0;
    };

    QTest::keyClick(shown.View(), Qt::Key_Down);
    EXPECT_EQ(list->ItemFocused()->Index, 1);
    consume = true;
    QTest::keyClick(shown.View(), Qt::Key_Down);
    EXPECT_EQ(list->ItemFocused()->Index, 1) << "a consumed key goes no further";
    QTest::keyClick(shown.View(), Qt::Key_Return);
    QTest::keyClick(shown.View(), Qt::Key_Backspace);
    EXPECT_EQ(keys, (std::vector<WORD>{40, 40, VK_RETURN, VK_BACK}));
}

TEST(Mouse, ClickAndDoubleClickOnARow)
{
    ShownList shown(100, vsReport);
    ASSERT_TRUE(shown.WaitForRequests());
    int clicks = 0, doubleClicks = 0;
    shown.list->OnClick = [&](TObject*) { ++clicks; };
    shown.list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    const QRect row3 = shown.View()->visualRect(shown.View()->model()->index(3, 0));
    QTest::mouseClick(shown.View()->viewport(), Qt::LeftButton, {}, row3.center());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(shown.list->GetSelection()->Index, 3);
    QTest::mouseDClick(shown.View()->viewport(), Qt::LeftButton, {}, row3.center());
    EXPECT_EQ(doubleClicks, 1);
}

TEST(Mouse, ContextMenuRequestShowsThePopupMenu)
{
    ShownList shown(100, vsSmallIcon);
    TPopupMenu menu(nullptr);
    TMenuItem entry(nullptr);
    entry.SetCaption("&Large Icons");
    menu.Add(&entry);
    shown.list->SetPopupMenu(&menu);
    QWidget* viewport = shown.View()->viewport();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(10, 10),
                              viewport->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(viewport, &request);
    ASSERT_NE(menu.Menu(), nullptr);
    EXPECT_TRUE(menu.Menu()->isVisible());
    menu.Menu()->hide();
}

struct FindCall {
    TItemFind kind;
    AnsiString text;
    int start;
    bool wrap;
};

TEST(TypeAhead, TypedBurstIsOneGrowingSearchFromTheFocusedRow)
{
    ShownList shown(1000, vsReport);
    ASSERT_TRUE(shown.WaitForRequests());
    TListView* list = shown.list.get();
    list->SetSelection(list->Items()->GetItem(10));
    list->GetSelection()->SetState(isFocused, true);
    std::vector<FindCall> calls;
    list->OnDataFind = [&](TObject*, TItemFind find, const AnsiString& text, const TPoint&, void*,
                           int start, TSearchDirection, bool wrap, int& index) {
        EXPECT_EQ(index, -1);
        calls.push_back({find, text, start, wrap});
        if (text == "r") index = 500;
        if (text == "re") index = 5000;  // past the count: no row
        if (text == "rep") index = 700;
    };

    QTest::keyClicks(shown.View(), "rep");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, "r");
    EXPECT_EQ(calls[0].start, 11) << "a new burst starts after the focused row";
    EXPECT_EQ(calls[1].text, "re");
    EXPECT_EQ(calls[1].start, 500) << "a burst in progress may still match the focused row";
    EXPECT_EQ(calls[2].text, "rep");
    EXPECT_EQ(calls[2].start, 500);
    for (const FindCall& call : calls) {
        EXPECT_EQ(call.kind, ifPartialString);
        EXPECT_TRUE(call.wrap);
    }
    EXPECT_EQ(list->GetSelection()->Index, 700);
    EXPECT_EQ(list->ItemFocused()->Index, 700);
    EXPECT_TRUE(FullyVisible(shown.View(), 700));
}

TEST(TypeAhead, NewBurstOnTheLastRowWrapsToTheFirst)
{
    ShownList shown(20, vsList);
    ASSERT_TRUE(shown.WaitForRequests());
    TListView* list = shown.list.get();
    list->GetSelection();  // none
    list->Items()->GetItem(19)->SetState(isFocused, true);
    int start = -2;
    list->OnDataFind = [&](TObject*, TItemFind, const AnsiString&, const TPoint&, void*, int s,
                           TSearchDirection, bool, int&) { start = s; };
    QTest::keyClick(shown.View(), Qt::Key_X, Qt::NoModifier);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(list->GetSelection(), nullptr) << "no answer, no change";
}

// An image list of solid squares.
class SquareImages : public ImageListData {
public:
    explicit SquareImages(int side) : FSide(side) {}
    QSize ImageSize() const override { return {FSide, FSide}; }
    int ImageCount() const override { return 3; }
    QPixmap Image(int index) const override
    {
        requested.push_back(index);
        QPixmap pixmap(FSide, FSide);
        pixmap.fill(Qt::darkGreen);
        return pixmap;
    }
    quint64 Generation() const override { return 1; }
    mutable std::vector<int> requested;

private:
    int FSide;
};

TEST(ImageLists, AttachedByMessageAndDrawnPerStyle)
{
    ShownList shown(10, vsReport);
    SquareImages small(16), large(48);
    const HWND window = shown.list->Handle();
    EXPECT_EQ(SendMessageA(window, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(&small)),
              0);
    EXPECT_EQ(
        SendMessageA(window, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(&large)), 0);
    ASSERT_TRUE(SpinUntil([&] { return !small.requested.empty(); }));
    EXPECT_TRUE(large.requested.empty());
    EXPECT_EQ(small.requested.front(), 0);  // row 0 has image 0

    shown.list->SetViewStyle(vsIcon);
    ASSERT_TRUE(SpinUntil([&] { return !large.requested.empty(); }));
    // A second attach answers the list it replaces.
    EXPECT_EQ(
        SendMessageA(window, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(&small)),
        reinterpret_cast<LRESULT>(&large));
}

TEST(OrdinaryItems, GalleryFillsItemByItem)
{
    auto list = std::make_unique<TListView>(nullptr);
    TImageList images(nullptr);
    images.SetSize(120, 90);
    list->SetViewStyle(vsIcon);
    list->SetLargeImages(&images);
    EXPECT_EQ(list->LargeImages(), &images);
    list->Widget()->resize(640, 480);
    list->Widget()->show();
    QAbstractItemView* view = list->ActiveView();

    for (int i = 0; i < 6; ++i) {
        QPixmap tile(120, 90);
        tile.fill(i % 2 ? Qt::blue : Qt::yellow);
        TListItem* item = list->Items()->Add();
        item->Caption = "picture " + std::to_string(i) + ".jpg";
        item->ImageIndex = images.AddPixmap(tile);
        Settle();
        EXPECT_EQ(list->Items()->GetCount(), i + 1);
        EXPECT_TRUE(list->LastDrawnStyle(i, 0).color.isValid()) << "item " << i << " shown";
    }
    EXPECT_EQ(view->model()->index(4, 0).data().toString(), "picture 4.jpg");
    // Later changes show on the next paint.
    list->Items()->GetItem(4)->Caption = "renamed.jpg";
    EXPECT_EQ(view->model()->index(4, 0).data().toString(), "renamed.jpg");
    // Tiles sit side by side with their captions below.
    const QRect first = view->visualRect(view->model()->index(0, 0));
    const QRect second = view->visualRect(view->model()->index(1, 0));
    EXPECT_GE(first.width(), 120);
    EXPECT_GE(first.height(), 90 + QFontMetrics(view->font()).height());
    EXPECT_GE(second.left(), first.right());

    {
        QAbstractItemModelTester tester(view->model(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        list->Items()->Add();
        list->Items()->Clear();
    }
    EXPECT_EQ(list->Items()->GetCount(), 0);
    EXPECT_EQ(view->model()->rowCount(), 0);
    // A new tile size takes effect with the next items.
    images.SetSize(60, 40);
    list->Items()->Add()->Caption = "again.jpg";
    EXPECT_EQ(list->Items()->GetItem(0)->Caption, "again.jpg");
    Settle();
    const QRect smaller = view->visualRect(view->model()->index(0, 0));
    EXPECT_LT(smaller.height(), first.height());
    EXPECT_LT(smaller.height(), 40 + 4 * QFontMetrics(view->font()).height());
}

}  // namespace
