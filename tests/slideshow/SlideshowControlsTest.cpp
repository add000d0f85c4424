// Toolkit controls the slideshow windows are built from, on a bare form.

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/RadioButton.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/SpeedButton.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {
class SlideshowControlsTest : public ::testing::Test {
protected:
    template <class T>
    T* make(TWinControl* parent)
    {
        auto* control = new T(form.get());
        control->SetParent(parent);
        return control;
    }
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
};
}  // namespace

// Exclusion holds among siblings only, and a click on the checked button is
// no change, so it raises nothing.
TEST_F(SlideshowControlsTest, RadioButtonsExcludeTheirSiblingsOnly)
{
    auto* group = make<TGroupBox>(form.get());
    auto* a = make<TRadioButton>(group);
    auto* b = make<TRadioButton>(group);
    auto* other = make<TRadioButton>(form.get());
    int clicksOfA = 0;
    a->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, a);
        ++clicksOfA;
    };
    form->Show();

    a->SetChecked(true);
    other->SetChecked(true);
    EXPECT_TRUE(a->Checked());
    QTest::mouseClick(b->Widget(), Qt::LeftButton, {}, QPoint(6, b->Widget()->height() / 2));
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(other->Checked());
    a->Click();
    a->Click();
    EXPECT_EQ(clicksOfA, 2);  // SetChecked(true) once, Click() once

    // The checked button can be unchecked, leaving none checked.
    a->SetChecked(false);
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(b->Checked());
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
}

TEST_F(SlideshowControlsTest, ScrollBarPositionStaysInItsRange)
{
    auto* bar = make<TScrollBar>(form.get());
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetMin(1);  // moves the position from 0 up to 1
    bar->SetMax(5);
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_EQ(changes, 1);

    struct Case {
        int pageSize, requested, expected;
    };
    const Case cases[] = {
        {0, 5, 5}, {0, 9, 5}, {0, -3, 1}, {2, 5, 4}, {5, 3, 1}, {9, 3, 1},
    };
    for (const Case& c : cases) {
        bar->SetPageSize(c.pageSize);
        bar->SetPosition(c.requested);
        EXPECT_EQ(bar->Position(), c.expected) << c.pageSize << " " << c.requested;
    }
    // An inverted range collapses instead of failing.
    bar->SetPageSize(0);
    bar->SetMax(-4);
    EXPECT_EQ(bar->Position(), 1);

    changes = 0;
    bar->SetMax(5);
    bar->SetPosition(3);
    bar->SetPosition(3);
    EXPECT_EQ(changes, 1);
}

// Whichever way the font colour is set, the caption is drawn in it.
TEST_F(SlideshowControlsTest, SpeedButtonCaptionFollowsItsFontColour)
{
    auto* button = new TSpeedButton(form.get());
    button->SetParent(form.get());
    const auto captionColour = [&] {
        return button->Widget()->palette().color(QPalette::ButtonText);
    };
    EXPECT_EQ(captionColour(), QColor(Qt::black));
    button->Font()->Color = clNavy;
    button->FontChanged();
    EXPECT_EQ(captionColour(), ToQColor(clNavy));
    button->SetFontColor(clWindowText);
    EXPECT_EQ(captionColour(), ToQColor(clWindowText));
}
