#include "tests/support/RecordingDialogs.h"

namespace {
void runWhileShown(std::function<void()>& action)
{
    if (!action) return;
    auto once = std::move(action);
    action = nullptr;
    once();
}
}  // namespace

void RecordingDialogs::ShowMessage(const AnsiString& text)
{
    messages.push_back(text);
    runWhileShown(whileShown);
}

void RecordingDialogs::ShowError(const AnsiString& text)
{
    errors.push_back(text);
    runWhileShown(whileShown);
}

bool RecordingDialogs::SelectDirectory(const AnsiString& caption, const AnsiString& root,
                                       AnsiString& directory)
{
    pickerCaptions.push_back(caption);
    pickerRoots.push_back(root);
    if (pickerAnswers.empty()) return false;
    auto answer = pickerAnswers.front();
    pickerAnswers.pop_front();
    if (!answer) return false;
    directory = *answer;
    return true;
}

RecordingDialogs& RecordingDialogs::Instance()
{
    return static_cast<RecordingDialogs&>(Dialogs());
}

void RecordingDialogs::Clear()
{
    messages.clear();
    errors.clear();
    pickerAnswers.clear();
    pickerCaptions.clear();
    pickerRoots.clear();
    whileShown = nullptr;
}
