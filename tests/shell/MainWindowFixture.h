#pragma once
// A main window started and shown over the temporary drive C:, with helpers
// to read its rows and its history back.

#include "tests/support/WindowTest.h"

#include <string>
#include <vector>

// The parsing name of the drives folder, which start-up opens.
inline const AnsiString kDrivesFolder = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

class MainWindowTest : public WindowTest {
protected:
    void SetUp() override;

    // Builds the drive's contents; called before the window starts.
    virtual void Populate(const TempDrive&) {}

    // The namespace path of a folder below the drive root ("" for the root).
    static AnsiString DrivePath(const std::string& relative);
    std::vector<AnsiString> RowNames() const;
    int RowCount() const;
    int SelectedRow() const;
    std::vector<AnsiString> History() const;
    // Whether Qt paints the file list: false while its drawing is suspended.
    bool ListDraws() const;
    void SelectRow(int row);
};
