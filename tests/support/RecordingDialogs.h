#pragma once
// A dialog seam for tests: records every message and error instead of showing
// it, answers the folder picker from a queue, and can run an action while a
// "modal" message is up (as a user would act while a box is open).

#include "platform/toolkit/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class RecordingDialogs : public DialogSeam {
public:
    void ShowMessage(const AnsiString& text) override;
    void ShowError(const AnsiString& text) override;
    bool SelectDirectory(const AnsiString& caption, const AnsiString& root,
                         AnsiString& directory) override;

    // The seam installed by the test main.
    static RecordingDialogs& Instance();
    void Clear();

    std::vector<AnsiString> messages;  // ShowMessage texts, in order
    std::vector<AnsiString> errors;    // error display texts, in order
    // Answers for the folder picker: a path, or none for "cancelled".
    std::deque<std::optional<AnsiString>> pickerAnswers;
    std::vector<AnsiString> pickerCaptions;
    std::vector<AnsiString> pickerRoots;  // the root each picker was asked to start at
    // Runs (once) while the next message or error is "shown".
    std::function<void()> whileShown;
};
