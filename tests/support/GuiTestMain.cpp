// Test main for tests that need the application object: starts it on the
// platform in force (offscreen under CTest) and installs the recording
// dialog seam so that no test blocks on a dialog.

#include "tests/support/RecordingDialogs.h"

#include "platform/toolkit/Forms.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    Application->Initialize();
    RecordingDialogs dialogs;
    SetDialogSeam(&dialogs);
    const int result = RUN_ALL_TESTS();
    SetDialogSeam(nullptr);
    Application->DestroyComponents();
    return result;
}
