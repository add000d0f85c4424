#include "slideshow/PlaybackGlyphs.h"
#include "slideshow/Playinterfaceset.h"

#include "platform/toolkit/Image.h"
#include "platform/toolkit/SpeedButton.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/Timer.h"
#include "platform/toolkit/ToolBar.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace {
class PlayInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { window = std::make_unique<TPlayInterface>(Application); }

    std::array<TSpeedButton*, 4> playbackButtons() const
    {
        return {window->PlayFsPlaySpButton, window->PlayFsStopSpButton, window->PlayFsGoSpButton,
                window->PlayFsBackSpButton};
    }
    // Captions of the red buttons, in bar order.
    std::string redCaptions() const
    {
        std::string red;
        for (TSpeedButton* button : playbackButtons()) {
            if (button->Font()->Color == clRed)
                red += button->GetText();
            else
                EXPECT_EQ(button->Font()->Color, clBlack) << button->GetText();
        }
        return red;
    }

    std::unique_ptr<TPlayInterface> window;
};
}  // namespace

TEST_F(PlayInterfaceTest, ToolBarHoldsSevenFlatButtonsSideBySide)
{
    EXPECT_EQ(window->Widget()->window()->windowTitle().toStdString(), "播放介面");
    EXPECT_EQ(window->WindowState(), wsMaximized);
    EXPECT_EQ(window->ToolBar1->Height(), 46);
    EXPECT_EQ(window->StatusBar1->Height(), 19);
    TSpeedButton* const buttons[] = {window->PlayFsPlaySpButton, window->PlayFsStopSpButton,
                                     window->PlayFsGoSpButton,   window->PlayFsBackSpButton,
                                     window->SpeedButton1,       window->SpeedButton2,
                                     window->SpeedButton3};
    const char* captions[] = {"開始", "暫停", "前進", "後退", "放大", "縮小", "列印"};
    for (int i = 0; i < 7; ++i) {
        TSpeedButton* button = buttons[i];
        EXPECT_EQ(button->GetText(), captions[i]);
        EXPECT_EQ(button->Parent(), window->ToolBar1);
        EXPECT_EQ(button->Left(), 100 * i);
        EXPECT_EQ(button->Top(), 2);
        EXPECT_EQ(button->Width(), 100);
        EXPECT_EQ(button->Height(), 39);
        EXPECT_TRUE(button->Flat());
        EXPECT_EQ(button->Enabled(), i != 6) << captions[i];
    }
    EXPECT_EQ(redCaptions(), "");

    window->Show();
    const QRect area = window->Image1->Widget()->geometry();
    EXPECT_EQ(area.top(), window->ToolBar1->Widget()->geometry().bottom() + 1);
    EXPECT_EQ(area.bottom() + 1, window->StatusBar1->Widget()->geometry().top());
    EXPECT_EQ(area.width(), window->Widget()->width());
    // The timer has no handler, so it is not even running.
    EXPECT_EQ(window->Timer1->Interval(), 1000);
    EXPECT_TRUE(window->Timer1->Enabled());
    EXPECT_FALSE(window->Timer1->Active());
}

TEST_F(PlayInterfaceTest, LastPressedPlaybackButtonIsRed)
{
    using Handler = void (TPlayInterface::*)(TObject*);
    const Handler start = &TPlayInterface::PlayFsPlaySpButtonClick;
    const Handler pause = &TPlayInterface::PlayFsStopSpButtonClick;
    const Handler forward = &TPlayInterface::PlayFsGoSpButtonClick;
    const Handler back = &TPlayInterface::PlayFsBackSpButtonClick;
    struct Case {
        std::vector<Handler> clicks;
        std::string red;
    };
    const Case cases[] = {
        {{start}, "開始"},
        {{start, pause}, "暫停"},
        {{start, start}, ""},
        {{pause, forward, back}, "後退"},
        {{back, back, back}, "後退"},
        {{forward, start, start, pause}, "暫停"},
    };
    for (const Case& c : cases) {
        auto fresh = std::make_unique<TPlayInterface>(Application);
        for (Handler click : c.clicks) (fresh.get()->*click)(nullptr);
        window.swap(fresh);
        EXPECT_EQ(redCaptions(), c.red) << c.clicks.size() << " clicks";
    }

    // By mouse, with pause red from the last case; the captions are drawn in
    // their colours.
    window->Show();
    QWidget* startWidget = window->PlayFsPlaySpButton->Widget();
    QTest::mouseClick(startWidget, Qt::LeftButton);
    EXPECT_EQ(redCaptions(), "開始");
    EXPECT_EQ(startWidget->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(window->PlayFsStopSpButton->Widget()->palette().color(QPalette::ButtonText),
              QColor(Qt::black));
}

TEST_F(PlayInterfaceTest, ZoomChangesNothingPrintCannotBePressedClosingHides)
{
    window->Show();
    window->PlayFsGoSpButton->Click();
    int printClicks = 0;
    window->SpeedButton3->OnClick = [&](TObject*) { ++printClicks; };

    window->SpeedButton1->Click();
    window->SpeedButton2->Click();
    window->SpeedButton3->Click();
    QTest::mouseClick(window->SpeedButton3->Widget(), Qt::LeftButton);

    EXPECT_EQ(redCaptions(), "前進");
    EXPECT_EQ(printClicks, 0);

    // Closing hides the window and keeps its highlight.
    window->Close();
    EXPECT_FALSE(window->Widget()->isVisible());
    EXPECT_EQ(redCaptions(), "前進");
}

// From the keyboard: Tab walks the buttons that can be pressed in their
// order on the bar, Space presses the one with the focus, Escape and Ctrl+W
// hide the window as its close box does.
TEST_F(PlayInterfaceTest, KeyboardReachesEveryButtonAndClosesTheWindow)
{
    window->Show();
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    const auto focused = [] {
        const TControl* control = ControlOf(QApplication::focusWidget());
        return control ? control->Name() : std::string();
    };
    const std::vector<std::string> order = {"PlayFsPlaySpButton", "PlayFsStopSpButton",
                                            "PlayFsGoSpButton",   "PlayFsBackSpButton",
                                            "SpeedButton1",       "SpeedButton2"};
    std::vector<std::string> walked{focused()};
    for (size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(focused());
    }
    EXPECT_EQ(walked, order);

    window->PlayFsStopSpButton->Widget()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(redCaptions(), "暫停");

    for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier}) {
        window->Show();
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
        QTest::keyClick(QApplication::focusWidget(),
                        modifiers == Qt::NoModifier ? Qt::Key_Escape : Qt::Key_W, modifiers);
        EXPECT_FALSE(window->Widget()->isVisible());
    }
}

// On a dark palette only the four playback captions keep the colours the
// layout fixes; zoom and print are drawn in the palette's text colour.
TEST_F(PlayInterfaceTest, OnlyThePlaybackCaptionsHaveFixedColours)
{
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
        dark.setColor(role, QColor(0x30, 0x30, 0x30));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    auto onDark = std::make_unique<TPlayInterface>(Application);
    onDark->Show();
    for (TSpeedButton* button : {onDark->SpeedButton1, onDark->SpeedButton2})
        EXPECT_EQ(button->Widget()->palette().color(QPalette::ButtonText), QColor(0xee, 0xee, 0xee))
            << button->GetText();
    EXPECT_EQ(onDark->PlayFsPlaySpButton->Widget()->palette().color(QPalette::ButtonText),
              QColor(Qt::black));
    onDark.reset();
    QApplication::setPalette(saved);
}

TEST(PlaybackGlyphs, AreDrawnAtTheirLayoutSizes)
{
    struct Glyph {
        QPixmap (*draw)();
        QSize size;
    };
    const Glyph glyphs[] = {
        {PlayGlyph, {28, 28}},    {StopGlyph, {28, 28}},   {ForwardGlyph, {28, 28}},
        {BackGlyph, {28, 28}},    {ZoomInGlyph, {23, 22}}, {ZoomOutGlyph, {23, 21}},
        {PrinterGlyph, {26, 19}},
    };
    for (const Glyph& glyph : glyphs) {
        const QImage image = glyph.draw().toImage();
        EXPECT_EQ(image.size(), glyph.size);
        // Transparent corners around a drawn picture.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_GT(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 0);
    }
    // Back is forward mirrored.
    EXPECT_EQ(BackGlyph().toImage(), ForwardGlyph().toImage().mirrored(true, false));
}
