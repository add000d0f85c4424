#include "slideshow/Playinterfaceset.h"
#include "slideshow/Playoptionset.h"

#include "platform/toolkit/Button.h"
#include "platform/toolkit/CheckBox.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/RadioButton.h"
#include "platform/toolkit/RadioGroup.h"
#include "platform/toolkit/ScrollBar.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {
// Everything a user can see change on the options window.
struct OptionState {
    std::array<bool, 3> radios;
    std::array<bool, 4> checks;
    std::array<bool, 6> enabled;  // four check boxes, then the two combo boxes
    AnsiString speedLabel;
    int speed;
    int size;
    bool visible;
    bool operator==(const OptionState&) const = default;
};

OptionState stateOf(TPlayOption& w)
{
    return {{w.PlayAllRdo->Checked(), w.PlaySelectRdo->Checked(), w.PlayAssigeRdo->Checked()},
            {w.PlayIECkBox->Checked(), w.PlayBBSCkBox->Checked(), w.PlayFTPCkBox->Checked(),
             w.PlayMailCkBox->Checked()},
            {w.PlayIECkBox->Enabled(), w.PlayBBSCkBox->Enabled(), w.PlayFTPCkBox->Enabled(),
             w.PlayMailCkBox->Enabled(), w.PlayFistTimeCbBox->Enabled(),
             w.PlayLastTimeCbBox->Enabled()},
            w.PlaySpeedLabel->GetText(),
            w.PlaySpeedSlBar->Position(),
            w.RadioGroup1->ItemIndex(),
            w.Widget()->isVisible()};
}

std::array<bool, 6> allEnabled(bool checks, bool combos)
{
    return {checks, checks, checks, checks, combos, combos};
}

// Drives the scroll bar as its arrows and track would.
void scroll(TScrollBar* bar, QAbstractSlider::SliderAction action)
{
    static_cast<QScrollBar*>(bar->Widget())->triggerAction(action);
}

// Application-owned playback windows, newest last.
std::vector<TPlayInterface*> playbackWindows()
{
    std::vector<TPlayInterface*> found;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* w = dynamic_cast<TPlayInterface*>(Application->Components(i))) found.push_back(w);
    return found;
}

class PlayOptionTest : public ::testing::Test {
protected:
    void SetUp() override { window = std::make_unique<TPlayOption>(Application); }
    std::unique_ptr<TPlayOption> window;
};
}  // namespace

TEST_F(PlayOptionTest, OpensWithAllPlaybackChosenAndSixControlsDisabled)
{
    EXPECT_EQ(window->Widget()->window()->windowTitle().toStdString(), "播放設定介面");
    EXPECT_EQ(window->WindowState(), wsNormal);
    const OptionState state = stateOf(*window);
    EXPECT_EQ(state.radios, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(state.checks, (std::array<bool, 4>{}));
    EXPECT_EQ(state.enabled, allEnabled(false, false));
    // The label claims 5 while the bar stands at 1, until the bar moves.
    EXPECT_EQ(state.speedLabel, "5");
    EXPECT_EQ(state.speed, 1);
    EXPECT_EQ(state.size, 0);
    EXPECT_EQ(window->RadioGroup1->ItemCount(), 3);
    EXPECT_EQ(window->RadioGroup1->Item(0), "全瑩幕");
}

TEST_F(PlayOptionTest, RadioButtonsSetEnabledStatesAndExcludeOneAnother)
{
    struct Step {
        TRadioButton* TPlayOption::*radio;
        std::array<bool, 3> checked;
        std::array<bool, 6> enabled;
    };
    const Step steps[] = {
        {&TPlayOption::PlaySelectRdo, {false, true, false}, allEnabled(false, true)},
        {&TPlayOption::PlayAssigeRdo, {false, false, true}, allEnabled(true, true)},
        {&TPlayOption::PlayAllRdo, {true, false, false}, allEnabled(false, false)},
        {&TPlayOption::PlayAssigeRdo, {false, false, true}, allEnabled(true, true)},
        {&TPlayOption::PlaySelectRdo, {false, true, false}, allEnabled(false, true)},
    };
    for (const Step& step : steps) {
        ((*window).*step.radio)->Click();
        const OptionState state = stateOf(*window);
        EXPECT_EQ(state.radios, step.checked) << ((*window).*step.radio)->GetText();
        EXPECT_EQ(state.enabled, step.enabled) << ((*window).*step.radio)->GetText();
    }
}

TEST_F(PlayOptionTest, DisabledControlsKeepTheirCheckedStateAndText)
{
    window->PlayAssigeRdo->Click();
    window->PlayIECkBox->Click();
    window->PlayMailCkBox->Click();
    window->PlayFistTimeCbBox->SetText("08:00");
    window->PlayAllRdo->Click();
    EXPECT_FALSE(window->PlayIECkBox->Enabled());
    EXPECT_TRUE(window->PlayIECkBox->Checked());
    EXPECT_TRUE(window->PlayMailCkBox->Checked());
    EXPECT_FALSE(window->PlayBBSCkBox->Checked());
    EXPECT_EQ(window->PlayFistTimeCbBox->GetText(), "08:00");
    // A disabled box cannot be ticked by a click.
    window->PlayBBSCkBox->Click();
    EXPECT_FALSE(window->PlayBBSCkBox->Checked());
}

TEST_F(PlayOptionTest, SpeedLabelEchoesTheScrollBar)
{
    scroll(window->PlaySpeedSlBar, QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(window->PlaySpeedLabel->GetText(), "5");
    scroll(window->PlaySpeedSlBar, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(window->PlaySpeedLabel->GetText(), "4");
    scroll(window->PlaySpeedSlBar, QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(window->PlaySpeedLabel->GetText(), "1");
}

TEST_F(PlayOptionTest, CancelChangesNothingAndClosingOnlyHides)
{
    window->Show();
    window->PlaySelectRdo->Click();
    window->PlaySpeedSlBar->SetPosition(3);
    OptionState before = stateOf(*window);
    const int components = Application->ComponentCount();
    window->PlayClearButton->Click();
    EXPECT_EQ(stateOf(*window), before);

    window->Close();
    before.visible = false;
    EXPECT_EQ(stateOf(*window), before);
    EXPECT_EQ(Application->ComponentCount(), components);
}

TEST_F(PlayOptionTest, PlayOpensAMaximisedPlaybackWindowEachClick)
{
    window->Show();
    window->PlayAssigeRdo->Click();
    window->PlayFTPCkBox->Click();
    const OptionState before = stateOf(*window);
    const size_t earlier = playbackWindows().size();

    window->PlayOKButton->Click();
    window->PlayOKButton->Click();
    std::vector<TPlayInterface*> opened = playbackWindows();
    ASSERT_EQ(opened.size(), earlier + 2);
    std::unique_ptr<TPlayInterface> first(opened[earlier]);
    std::unique_ptr<TPlayInterface> second(opened[earlier + 1]);
    for (TPlayInterface* playback : {first.get(), second.get()}) {
        EXPECT_EQ(playback->Owner(), Application);
        EXPECT_EQ(playback->WindowState(), wsMaximized);
        EXPECT_TRUE(playback->Widget()->isVisible());
        EXPECT_TRUE(playback->Widget()->isMaximized());
    }
    EXPECT_EQ(stateOf(*window), before);
}

TEST_F(PlayOptionTest, WindowsAreIndependent)
{
    auto second = std::make_unique<TPlayOption>(Application);
    auto third = std::make_unique<TPlayOption>(Application);
    const OptionState untouched = stateOf(*third);

    second->PlayAssigeRdo->Click();
    second->PlayIECkBox->Click();
    scroll(second->PlaySpeedSlBar, QAbstractSlider::SliderSingleStepAdd);
    third->RadioGroup1->SetItemIndex(2);

    EXPECT_EQ(stateOf(*window), untouched);
    EXPECT_EQ(second->PlaySpeedLabel->GetText(), "2");
    EXPECT_TRUE(second->PlayIECkBox->Checked());
    EXPECT_FALSE(third->PlayIECkBox->Enabled());
    EXPECT_EQ(window->RadioGroup1->ItemIndex(), 0);
}

// Tab walks the window as it reads and passes over disabled controls; each
// group of radio buttons is one stop, at its checked button.
TEST_F(PlayOptionTest, TabWalksTheWindowInReadingOrder)
{
    window->Show();
    QTRY_VERIFY(window->Widget()->isActiveWindow());
    const auto typeTab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
    // The control a widget with the focus belongs to, by name.
    const auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty()) w = w->parentWidget();
        return w ? w->objectName().toStdString() : std::string();
    };
    window->PlayAllRdo->SetFocus();
    QTRY_COMPARE(focused(), "PlayAllRdo");
    std::vector<std::string> walked;
    for (int i = 0; i < 5; ++i) {
        typeTab();
        walked.push_back(focused());
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"RadioGroup1", "PlaySpeedSlBar", "PlayOKButton",
                                                "PlayClearButton", "PlayAllRdo"}));

    // Choosing a part enables the time boxes; the stop moves to that choice.
    window->PlaySelectRdo->Click();
    window->PlayClearButton->SetFocus();
    walked.clear();
    for (int i = 0; i < 4; ++i) {
        typeTab();
        walked.push_back(focused());
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"PlaySelectRdo", "PlayFistTimeCbBox",
                                                "PlayLastTimeCbBox", "RadioGroup1"}));
}
