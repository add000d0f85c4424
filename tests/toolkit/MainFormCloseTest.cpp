// Closing the main form ends the application's message loop for good, so
// this runs in a program of its own: every test after it would find the
// application ended and its dialogs closed before they open.

#include "tests/toolkit/ShowForm.h"

#include <QTimer>

#include <gtest/gtest.h>

TEST(Forms, ClosingASecondFormHidesItAndTheMainFormEndsTheLoop)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    auto* other = new TForm(Application);
    ASSERT_TRUE(ShowForm(*main));
    ASSERT_TRUE(ShowForm(*other));

    other->Widget()->close();  // as the window manager would
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(other->Widget()->isVisible());
    EXPECT_FALSE(Application->Terminated());
    other->Show();
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(Application->Terminated());

    // Run shows the main form maximised as asked and returns once it closes.
    main->Hide();
    main->SetWindowState(wsMaximized);
    bool shownMaximised = false;
    QTimer::singleShot(0, [&] {
        shownMaximised = main->Widget()->isVisible() && main->Widget()->isMaximized();
        main->Close();
    });
    Application->Run();
    EXPECT_TRUE(shownMaximised);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(main->Visible());
    delete other;
    delete main;
    EXPECT_EQ(Application->MainForm(), nullptr);
}
