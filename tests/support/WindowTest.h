#pragma once
// The one fixture of every main-window test: a temporary folder stands at
// drive C:, the dialogs are recorded, and after each test the window is
// destroyed with a check that no item id list is left in the shell allocator.

#include "app/Quillet.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as the program does; its start-up opens the
    // drives folder. The fixture destroys it.
    void CreateWindow();
    // Runs a command as the toolkit runs an event handler.
    void Run(const std::function<void()>& command) { InvokeHandler(command); }

    std::unique_ptr<TempDrive> FDrive;
    TfrmQuillet* FWindow = nullptr;
    RecordingDialogs& FDialogs = RecordingDialogs::Instance();

private:
    long FLiveBlocksAtStart = 0;
};
