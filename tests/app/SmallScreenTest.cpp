// The main window on small screens: maximised on an 800 x 600 screen (CTest
// runs this suite again at a scale factor of 2, on a screen of 1600 x 1200
// pixels), as a window of what such a screen leaves beside a title bar and a
// panel, and at its minimum size. The tile-size edits and the apply button
// must stay in view and work; the preview group gives way for them.

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Splitter.h"
#include "tests/support/WindowTest.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace {

class SmallScreenTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        CreateWindow();
        FWindow->Show();
        QTRY_VERIFY(Window()->isVisible());
    }

    QWidget* Window() const { return FWindow->Widget()->window(); }

    // Shows the window as a normal one of the given size.
    void Resize(int width, int height)
    {
        Window()->showNormal();
        Window()->resize(width, height);
        QTRY_COMPARE(Window()->size(), QSize(width, height).expandedTo(Window()->minimumSize()));
        Application->ProcessMessages();
    }

    // Whole inside every widget it sits in, and on top at its centre.
    void ExpectInView(TControl* control)
    {
        QWidget* w = control->Widget();
        ASSERT_TRUE(w->isVisible()) << control->Name();
        for (QWidget* outer = w->parentWidget(); outer; outer = outer->parentWidget()) {
            const QRect inside(w->mapTo(outer, QPoint(0, 0)), w->size());
            EXPECT_TRUE(outer->rect().contains(inside))
                << control->Name() << " leaves " << outer->objectName().toStdString();
            if (outer == Window()) break;
        }
        const QPoint centre = w->mapTo(Window(), w->rect().center());
        QWidget* top = Window()->childAt(centre);
        EXPECT_TRUE(top == w || w->isAncestorOf(top)) << control->Name() << " is covered";
    }

    // Clicks and types where the user sees the control.
    void ClickAt(TControl* control)
    {
        QWidget* w = control->Widget();
        const QPoint centre = w->mapTo(Window(), w->rect().center());
        QWidget* top = Window()->childAt(centre);
        ASSERT_NE(top, nullptr);
        QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFrom(Window(), centre));
    }

    void TypeInto(TEdit* edit, const char* text)
    {
        ClickAt(edit);
        QTRY_VERIFY(edit->Widget()->hasFocus());
        QTest::keyClick(edit->Widget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit->Widget(), text);
    }

    void ExpectPanelUsable(const char* width, const char* height)
    {
        for (TControl* control : {static_cast<TControl*>(FWindow->EditPicWidth),
                                  static_cast<TControl*>(FWindow->EditPicHeight),
                                  static_cast<TControl*>(FWindow->Button1)})
            ExpectInView(control);
        TypeInto(FWindow->EditPicWidth, width);
        TypeInto(FWindow->EditPicHeight, height);
        ClickAt(FWindow->Button1);
        EXPECT_EQ(ThumbWidth, std::stoi(width));
        EXPECT_EQ(ThumbHeight, std::stoi(height));
        const int caption = FWindow->GroupBox1->Widget()->minimumSizeHint().height();
        EXPECT_GE(FWindow->GroupBox1->Height(), caption);
    }
};

}  // namespace

TEST_F(SmallScreenTest, MaximisedOnAnEightHundredBySixHundredScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.width() > 800 || screen.height() > 600)
        GTEST_SKIP() << "the screen is larger than 800 x 600";
    QTRY_VERIFY(Window()->isMaximized());
    ExpectPanelUsable("300", "250");
}

TEST_F(SmallScreenTest, WindowBesideATitleBarAndAPanel)
{
    Resize(800, 545);
    ExpectPanelUsable("320", "240");
}

TEST_F(SmallScreenTest, SmallestWindow)
{
    Resize(100, 100);
    EXPECT_GE(Window()->width(), 560);
    EXPECT_GE(Window()->height(), 480);
    ExpectPanelUsable("210", "220");
}

// With room for it the layout is as specified; the preview group gives way
// only while the room is short and takes its height back after.
TEST_F(SmallScreenTest, PreviewGroupGivesWayAndComesBack)
{
    Resize(1000, 900);
    EXPECT_EQ(FWindow->GroupBox1->Height(), 239);
    EXPECT_EQ(FWindow->Splitter2->Height(), 3);
    Resize(800, 545);
    EXPECT_LT(FWindow->GroupBox1->Height(), 239);
    Resize(1000, 900);
    EXPECT_EQ(FWindow->GroupBox1->Height(), 239);
}
