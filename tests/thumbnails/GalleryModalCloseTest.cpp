// The load-error message box, the real one: modal to the input of the main
// window, but a close request from the window system still reaches the main
// window and ends the program at once. A program of its own: the application
// stays terminated afterwards.

#include "tests/thumbnails/GalleryFixture.h"

#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ToolBar.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <qpa/qwindowsysteminterface.h>

#include <functional>

namespace {

// While it lives, the program's own dialogs are shown, and act is run on
// the first message box that comes up (once).
class RealDialogs {
public:
    explicit RealDialogs(std::function<void(QMessageBox*)> act)
        : FAct(std::move(act)), FRecording(&Dialogs())
    {
        SetDialogSeam(nullptr);
        FPoll.setInterval(5);
        QObject::connect(&FPoll, &QTimer::timeout, [this] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(top);
                if (!box || !box->isVisible()) continue;
                if (box == FActedOn) {
                    // Still up after the action: close it, so that no box
                    // keeps the test waiting.
                    FStillOpen = true;
                    box->done(0);
                    return;
                }
                ++FBoxes;
                FActedOn = box;
                FAct(box);
                return;
            }
        });
        FPoll.start();
    }
    ~RealDialogs() { SetDialogSeam(FRecording); }
    int Boxes() const { return FBoxes; }
    bool StillOpen() const { return FStillOpen; }

private:
    std::function<void(QMessageBox*)> FAct;
    DialogSeam* FRecording;
    QTimer FPoll;
    QMessageBox* FActedOn = nullptr;
    int FBoxes = 0;
    bool FStillOpen = false;
};

}  // namespace

// Input meant for the main window is held back while the box is up.
TEST_F(GalleryTest, TheMessageBoxHoldsBackInputToTheMainWindow)
{
    CopyPicture("broken/not-a-jpeg.jpg", "bad.jpg");
    FWindow->FCurrentPath = "C:\\";
    FWindow->Show();
    const TViewStyle before = FWindow->lstvwVirtualList->ViewStyle();
    ASSERT_NE(before, vsList);
    TViewStyle during = before;
    const RealDialogs dialogs([&](QMessageBox* box) {
        QTest::mouseClick(FWindow->tlbtnList->Widget(), Qt::LeftButton);
        QTest::keyClick(FWindow->Widget(), Qt::Key_2, Qt::ControlModifier);
        during = FWindow->lstvwVirtualList->ViewStyle();
        box->accept();
    });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(dialogs.Boxes(), 1);
    EXPECT_FALSE(dialogs.StillOpen());
    EXPECT_EQ(during, before);
    EXPECT_EQ(Captions().size(), 1u);
}

// The first close request ends the program, though a box is up: the box
// goes and the scan stops there.
TEST_F(GalleryTest, ClosingTheWindowDuringAMessageBoxEndsTheProgram)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) CopyPicture("broken/not-a-jpeg.jpg", name);
    FWindow->FCurrentPath = "C:\\";
    FWindow->Show();
    QWindow* window = FWindow->Widget()->windowHandle();
    ASSERT_NE(window, nullptr);
    const RealDialogs dialogs([&](QMessageBox*) {
        // As the window manager delivers the close button's request.
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window);
    });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(dialogs.StillOpen());
    EXPECT_EQ(dialogs.Boxes(), 1);
    EXPECT_LE(Captions().size(), 1u);
}
