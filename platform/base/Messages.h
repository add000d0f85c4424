#pragma once
// Keeping the user-interface thread answering while it waits for slow work.
// Meanwhile the window system's messages are processed with user input held
// back, as a modal dialog holds it back: windows repaint, the cursor shows,
// and a request to close a window is handled.

#include "platform/base/SysUtils.h"

#include <functional>

// The silent exception: it ends the handler that raised it, and the error
// display shows nothing. Raised where a long task finds the program ending.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

// Raises EAbort.
[[noreturn]] void Abort();

// Tells the waits below that the program is ending; the application's
// Terminate calls it.
void PostQuitMessage(int exitCode);
bool QuitPosted();

// Whether an event of this Qt type is user input (mouse, wheel, keys,
// shortcuts, touch, tablet, drag and drop).
bool IsUserInputEvent(int qtEventType);

// Processes the messages pending now; input that arrives meanwhile is
// dropped. Does nothing without an application object or off its thread.
void ProcessMessagesHoldingInput();

// Runs work on a thread of its own and waits for it, processing messages as
// above. True once work has finished; false as soon as the program is ending
// (PostQuitMessage) while work still runs: work is then left to finish on its
// own, so it must own everything it touches. Without an application object,
// or off its thread, work runs here.
bool WaitForWork(std::function<void()> work);
