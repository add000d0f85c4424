#pragma once
// A main window started over a temporary drive C:, destroyed after each test
// with a check that no item id list is left in the shell allocator.

#include "app/Quillet.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the drive's contents; called before the window starts.
    virtual void Populate(const TempDrive&) {}

    // The namespace path of a folder below the drive root ("" for the root).
    static AnsiString DrivePath(const std::string& relative);
    std::vector<AnsiString> RowNames() const;
    int RowCount() const;
    int SelectedRow() const;
    std::vector<AnsiString> History() const;
    void SelectRow(int row);
    // Runs a command as the toolkit runs an event handler.
    void Run(const std::function<void()>& command);

    std::unique_ptr<TempDrive> FDrive;
    TfrmQuillet* FWindow = nullptr;
    RecordingDialogs& FDialogs = RecordingDialogs::Instance();
    long FLiveBlocksAtStart = 0;
};
