// Test main for tests that need the application object: starts it on the
// platform in force (offscreen under CTest) and installs the recording
// dialog seam so that no test blocks on a dialog.

#include "tests/support/RecordingDialogs.h"

#include "platform/toolkit/Forms.h"

#include <QtGlobal>

#include <gtest/gtest.h>

// The font configuration library keeps its caches until the process ends and
// Qt never asks it to let go; the leak checker would report them as ours.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // No test needs a display; one may still be asked for by hand.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
    RecordingDialogs dialogs;
    SetDialogSeam(&dialogs);
    const int result = RUN_ALL_TESTS();
    SetDialogSeam(nullptr);
    Application->DestroyComponents();
    return result;
}
