// Track bars, edits, image lists, pages and pop-up menus: the events they
// raise and the state they keep.

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/Panel.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/TrackBar.h"
#include "tests/toolkit/ShowForm.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TrackBar, PositionIsClampedAndEveryChangeIsReported)
{
    TForm form(nullptr);
    auto* bar = new TTrackBar(&form);
    bar->SetParent(&form);
    bar->SetMin(200);
    bar->SetMax(500);
    bar->SetPosition(200);
    std::vector<int> seen;
    bar->OnChange = [&](TObject*) { seen.push_back(bar->Position()); };

    struct Case {
        int set;
        int position;
    };
    for (Case c :
         {Case{350, 350}, Case{350, 350}, Case{9999, 500}, Case{-4, 200}, Case{200, 200}}) {
        bar->SetPosition(c.set);
        EXPECT_EQ(bar->Position(), c.position) << c.set;
    }
    // Unchanged positions raise nothing.
    EXPECT_EQ(seen, (std::vector<int>{350, 500, 200}));

    bar->SetPageSize(50);
    ASSERT_TRUE(ShowForm(form));
    bar->SetFocus();
    QTest::keyClick(bar->Slider(), Qt::Key_PageUp);
    EXPECT_EQ(seen.back(), 250);  // the user's move is reported too
}

TEST(TrackBar, VerticalBarHasItsMinimumAtTheTop)
{
    TForm form(nullptr);
    auto* bar = new TTrackBar(&form);
    bar->SetParent(&form);
    bar->SetOrientation(trVertical);
    EXPECT_EQ(bar->Slider()->orientation(), Qt::Vertical);
    EXPECT_TRUE(bar->Slider()->invertedAppearance());
}

TEST(Edit, ChangeIsRaisedForTypingAndForSetText)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    std::vector<AnsiString> texts;
    edit->OnChange = [&](TObject*) { texts.push_back(edit->GetText()); };
    edit->SetText("200");
    ASSERT_TRUE(ShowForm(form));
    edit->SetFocus();
    QTest::keyClick(edit->LineEdit(), Qt::Key_End);
    QTest::keyClicks(edit->LineEdit(), "5");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(texts, (std::vector<AnsiString>{"200", "2005", "200"}));

    edit->SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(edit->LineEdit()->alignment() & Qt::AlignRight);
}

TEST(ImageList, AddReturnsIndexesAndResizingDiscardsEveryImage)
{
    TImageList images(nullptr);
    images.SetSize(200, 200);
    TBitmap tile;
    tile.SetWidth(200);
    tile.SetHeight(200);
    TBitmap small;
    small.SetWidth(50);
    small.SetHeight(20);
    EXPECT_EQ(images.Add(&tile, nullptr), 0);
    EXPECT_EQ(images.Add(&small, nullptr), 1);
    EXPECT_EQ(images.AddPixmap(QPixmap()), 2);
    EXPECT_EQ(images.Count(), 3);
    // Every image has the list's size, whatever it was added with.
    for (int i = 0; i < images.Count(); ++i)
        EXPECT_EQ(images.Image(i).size(), QSize(200, 200)) << i;
    EXPECT_TRUE(images.Image(3).isNull());
    EXPECT_TRUE(images.Image(-1).isNull());

    const quint64 before = images.Generation();
    images.SetSize(200, 200);  // same size: nothing lost
    EXPECT_EQ(images.Count(), 3);
    images.SetHeight(300);
    EXPECT_EQ(images.Count(), 0);
    EXPECT_GT(images.Generation(), before);
    EXPECT_EQ(images.ImageSize(), QSize(200, 300));
    EXPECT_EQ(images.Add(&tile, nullptr), 0);
    EXPECT_EQ(images.Image(0).size(), QSize(200, 300));
}

TEST(PageControl, PagesAreTabsAndTheFirstIsActive)
{
    TForm form(nullptr);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    auto* first = new TTabSheet(&form);
    first->SetPageControl(pages);
    first->SetText("first");
    auto* second = new TTabSheet(&form);
    second->SetParent(pages);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), first);
    pages->SetActivePage(second);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_EQ(first->PageIndex(), 0);
    delete second;
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), first);
}

TEST(PopupMenu, EntriesRaiseClickAndLeaveTheMenuWhenDestroyed)
{
    TComponent owner(nullptr);
    auto* menu = new TPopupMenu(&owner);
    auto* large = new TMenuItem(&owner);
    large->SetCaption("&Large Icons");
    auto* small = new TMenuItem(&owner);
    menu->Add(large);
    menu->Add(small);
    int clicks = 0;
    large->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, large);
        ++clicks;
    };
    large->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->Items(0)->Caption(), "&Large Icons");
    delete small;
    EXPECT_EQ(menu->Count(), 1);
}

TEST(PopupMenu, ContextMenuRequestOnTheControlShowsItsMenu)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 100, 100);
    auto* menu = new TPopupMenu(&form);
    auto* entry = new TMenuItem(&form);
    entry->SetCaption("&Report View");
    menu->Add(entry);
    panel->SetPopupMenu(menu);
    ASSERT_TRUE(ShowForm(form));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(10, 10),
                              panel->Widget()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(panel->Widget(), &request);
    ASSERT_NE(menu->Menu(), nullptr);
    EXPECT_TRUE(menu->Menu()->isVisible());
    EXPECT_EQ(menu->Menu()->actions().size(), 1);
    menu->Menu()->hide();
}

TEST(Forms, ActiveControlGetsTheFocusWhenTheFormIsShown)
{
    TForm form(nullptr);
    auto* first = new TEdit(&form);
    first->SetParent(&form);
    auto* second = new TEdit(&form);
    second->SetParent(&form);
    form.SetActiveControl(second);
    ASSERT_TRUE(ShowForm(form));
    for (int i = 0; i < 100 && !second->Focused(); ++i) Application->ProcessMessages();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(form.ActiveControl(), second);
}

}  // namespace
