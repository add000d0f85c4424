#pragma once
// Modal dialogs. Every one goes through the dialog seam, which tests replace so
// that no test ever blocks on a dialog.

#include "platform/base/SysUtils.h"

class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // A message box with an OK button; returns when the user has closed it.
    virtual void ShowMessage(const AnsiString& text) = 0;
    // The application's error display for an exception's message.
    virtual void ShowError(const AnsiString& text) = 0;
    // The folder picker. True when the user picked a folder (its path in the
    // namespace's form then in directory), false when cancelled.
    virtual bool SelectDirectory(const AnsiString& caption, const AnsiString& root,
                                 AnsiString& directory) = 0;
};

// The seam in force: Qt's dialogs unless a test installed another one.
DialogSeam& Dialogs();
// Installs seam (not owned); null restores Qt's dialogs.
void SetDialogSeam(DialogSeam* seam);

void ShowMessage(const AnsiString& text);
bool SelectDirectory(const AnsiString& caption, const std::u16string& root, AnsiString& directory);
