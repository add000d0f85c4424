// Tool buttons: adjacent grouped check buttons are one exclusive group;
// grouping does nothing to plain buttons; SetDown never clicks.

#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/ToolBar.h"
#include "tests/toolkit/ShowForm.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Left to right: plain grouped, separator grouped, four grouped checks,
// an ungrouped check, a plain ungrouped button.
class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar = new TToolBar(&form);
        bar->SetParent(&form);
        bar->SetAlign(alTop);
        bar->SetButtonWidth(24);
        bar->SetButtonHeight(25);
        const TToolButtonStyle styles[] = {tbsButton, tbsSeparator, tbsCheck, tbsCheck,
                                           tbsCheck,  tbsCheck,     tbsCheck, tbsButton};
        const bool grouped[] = {true, true, true, true, true, true, false, false};
        for (int i = 0; i < 8; ++i) {
            auto* button = new TToolButton(&form);
            button->SetStyle(styles[i]);
            button->SetGrouped(grouped[i]);
            button->SetParent(bar);
            button->OnClick = [this, i](TObject*) { clicks.push_back(i); };
            buttons.push_back(button);
        }
        buttons[1]->SetWidth(11);
    }

    // One character per button: 'D' down, '.' up.
    std::string DownStates() const
    {
        std::string states;
        for (TToolButton* button : buttons) states += button->Down() ? 'D' : '.';
        return states;
    }

    TForm form{nullptr};
    TToolBar* bar = nullptr;
    std::vector<TToolButton*> buttons;
    std::vector<int> clicks;
};

TEST_F(ToolBarTest, ButtonsSitLeftToRightInCreationOrder)
{
    int left = 0;
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        ASSERT_EQ(bar->Buttons(i), buttons[static_cast<size_t>(i)]);
        EXPECT_EQ(buttons[static_cast<size_t>(i)]->Left(), left) << i;
        left += i == 1 ? 11 : 24;
    }
    EXPECT_EQ(buttons[0]->Height(), 25);
}

TEST_F(ToolBarTest, GroupRulesOverASequenceOfActions)
{
    struct Step {
        const char* action;  // "click" or "down" or "up"
        int button;
        const char* states;
        int clicksSoFar;
    };
    const Step steps[] = {
        {"down", 5, ".....D..", 0},   // SetDown presses without a click
        {"click", 2, "..D.....", 1},  // releases the rest of the group
        {"click", 2, "..D.....", 2},  // clicking the pressed one keeps it down
        {"down", 3, "...D....", 2},  {"click", 6, "...D..D.", 3},  // the ungrouped check is apart
        {"click", 6, "...D....", 4},                               // and toggles
        {"click", 0, "...D....", 5},  // plain buttons leave the group alone
        {"click", 7, "...D....", 6}, {"up", 3, "........", 6},  // all up is allowed through SetDown
        {"click", 1, "........", 7},                            // the separator is no check button
    };
    for (const Step& step : steps) {
        TToolButton* button = buttons[static_cast<size_t>(step.button)];
        const std::string action = step.action;
        if (action == "click") button->Click();
        if (action == "down") button->SetDown(true);
        if (action == "up") button->SetDown(false);
        EXPECT_EQ(DownStates(), step.states) << action << " " << step.button;
        EXPECT_EQ(static_cast<int>(clicks.size()), step.clicksSoFar)
            << action << " " << step.button;
    }
}

TEST_F(ToolBarTest, MouseClickOnACheckButtonPressesItAndShowsIt)
{
    ASSERT_TRUE(ShowForm(form));
    buttons[5]->SetDown(true);
    auto* widget = static_cast<QToolButton*>(buttons[3]->Widget());
    QTest::mouseClick(widget, Qt::LeftButton);
    EXPECT_EQ(DownStates(), "...D....");
    EXPECT_EQ(clicks, std::vector<int>{3});
    EXPECT_TRUE(widget->isChecked());
    EXPECT_FALSE(static_cast<QToolButton*>(buttons[5]->Widget())->isChecked());
    // A second click does not release a grouped button.
    QTest::mouseClick(widget, Qt::LeftButton);
    EXPECT_TRUE(widget->isChecked());
    EXPECT_TRUE(buttons[3]->Down());
}

TEST_F(ToolBarTest, ImageIndexPastTheLastGlyphShowsNoPicture)
{
    auto* images = new TImageList(&form);
    bar->SetImages(images);
    buttons[0]->SetImageIndex(0);
    buttons[7]->SetImageIndex(1);
    auto* first = static_cast<QToolButton*>(buttons[0]->Widget());
    EXPECT_TRUE(first->icon().isNull());  // no glyphs yet
    QPixmap glyph(16, 16);
    glyph.fill(Qt::red);
    images->AddPixmap(glyph);
    ASSERT_TRUE(ShowForm(form));
    bar->Repaint();
    EXPECT_FALSE(first->icon().isNull());
    EXPECT_TRUE(static_cast<QToolButton*>(buttons[7]->Widget())->icon().isNull());
}

}  // namespace
