// Ctrl+Q quits: it closes the main window, which ends the program. A
// program of its own: the application stays terminated afterwards.

#include "tests/shell/MainWindowFixture.h"

#include <QApplication>
#include <QTest>

class QuitKeyTest : public MainWindowTest {};

TEST_F(QuitKeyTest, CtrlQClosesTheMainWindow)
{
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(FWindow->Widget()->isVisible());
    EXPECT_TRUE(Application->Terminated());
}
