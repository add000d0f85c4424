// Every window fits the screen it opens on, whatever its size and scale:
// CTest runs this suite on screens of 1600 x 1000 at a scale factor of 2,
// 1366 x 768 at 1.5 and 800 x 600 at 2, where the layouts' own places and
// sizes run past the screen.

#include "slideshow/Playinterfaceset.h"
#include "slideshow/Playoptionset.h"
#include "tests/support/WindowTest.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

class ScreenFitTest : public WindowTest {
protected:
    static QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    static void ExpectOnScreen(TForm* form)
    {
        QWidget* window = form->Widget();
        QTRY_VERIFY(window->isVisible());
        Application->ProcessMessages();
        EXPECT_TRUE(Area().contains(window->frameGeometry()))
            << form->Caption() << " at " << window->frameGeometry().x() << ","
            << window->frameGeometry().y() << " " << window->frameGeometry().width() << "x"
            << window->frameGeometry().height();
        EXPECT_LE(window->minimumWidth(), Area().width()) << form->Caption();
        EXPECT_LE(window->minimumHeight(), Area().height()) << form->Caption();
    }
};

}  // namespace

TEST_F(ScreenFitTest, MainWindowsSmallestSizeFitsTheScreen)
{
    CreateWindow();
    FWindow->Show();
    ExpectOnScreen(FWindow);
    QWidget* window = FWindow->Widget();
    window->showNormal();
    Application->ProcessMessages();
    window->resize(1, 1);
    Application->ProcessMessages();
    const QRect shown = window->frameGeometry();
    EXPECT_TRUE(Area().contains(shown))
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
}

TEST_F(ScreenFitTest, SlideshowWindowsOpenOnTheScreen)
{
    auto options = std::make_unique<TPlayOption>(Application);
    options->Show();
    ExpectOnScreen(options.get());

    auto playback = std::make_unique<TPlayInterface>(Application);
    playback->Show();
    playback->Widget()->showNormal();
    Application->ProcessMessages();
    playback->SetWindowState(wsNormal);
    playback->Show();
    ExpectOnScreen(playback.get());
}
