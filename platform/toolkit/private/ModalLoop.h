#pragma once
// Runs a dialog modally without Qt's window modality.
//
// Qt drops a window-system request to close a window that a modal dialog
// blocks, so a main window could not be closed while a message box is up.
// Here the dialog is shown as an ordinary window and its own loop holds back
// every input event meant for another window, as modality does, but lets a
// close request through: closing the main form ends the program, this loop
// included.

class QDialog;

// Shows dialog and returns its result once it is closed, or once the
// application is told to quit.
int ExecModal(QDialog& dialog);
