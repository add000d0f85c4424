// The titles the window system gets for each of the program's windows, reached as a user reaches
// them: the main window at start, the options window from the slideshow button, the playback window
// from its play button.

#include "platform/toolkit/Button.h"
#include "platform/toolkit/ToolBar.h"
#include "slideshow/Playinterfaceset.h"
#include "slideshow/Playoptionset.h"
#include "tests/support/WindowTest.h"

#include <QWidget>

namespace {

// The newest application-owned window of class T.
template <class T>
T* NewestWindow()
{
    for (int i = Application->ComponentCount() - 1; i >= 0; --i)
        if (auto* window = dynamic_cast<T*>(Application->Components(i))) return window;
    return nullptr;
}

QWidget* TopLevel(TForm* form)
{
    return form->Widget()->window();
}

class WindowTitleTest : public WindowTest {
protected:
    void TearDown() override
    {
        delete NewestWindow<TPlayInterface>();
        delete NewestWindow<TPlayOption>();
        WindowTest::TearDown();
    }
};

}  // namespace

TEST_F(WindowTitleTest, EveryWindowShowsItsTitle)
{
    CreateWindow();
    FWindow->Show();
    FWindow->ToolButton3->Click();
    TPlayOption* options = NewestWindow<TPlayOption>();
    ASSERT_NE(options, nullptr);
    options->PlayOKButton->Click();
    TPlayInterface* playback = NewestWindow<TPlayInterface>();
    ASSERT_NE(playback, nullptr);

    const struct {
        TForm* form;
        const char* title;
    } windows[] = {
        {FWindow, "Quillet Demo"},
        {options, "播放設定介面"},
        {playback, "播放介面"},
    };
    for (const auto& w : windows) {
        QWidget* window = TopLevel(w.form);
        EXPECT_TRUE(window->isWindow());
        EXPECT_TRUE(window->isVisible()) << w.title;
        EXPECT_EQ(window->windowTitle().toStdString(), w.title);
    }
}
