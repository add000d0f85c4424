#pragma once
// A disk that the tests control: every call of the gallery's reading path
// (an entry's status, a picture's open and read) is counted by the thread
// that made it, and the calls of one kind can be held until the test lets
// them go, as a slow network or removable disk holds them.

#include "platform/base/FileSystemCalls.h"

#include <atomic>
#include <functional>

class SlowDisk {
public:
    enum Kind { Status, Open, Read };

    // Replaces the calls while it lives.
    SlowDisk();
    ~SlowDisk();
    SlowDisk(const SlowDisk&) = delete;
    SlowDisk& operator=(const SlowDisk&) = delete;

    // Calls of kind from now on wait until Release(), at most ten seconds
    // (the bound only keeps a broken program from hanging its test).
    // onHeld runs on the holding thread when the first call is held.
    void Hold(Kind kind, std::function<void()> onHeld = {});
    void Release();
    // Calls held right now.
    int Held() const;
    // Calls made on the thread that created this disk (the window's) and on
    // any other.
    int WindowThreadCalls() const;
    int OtherThreadCalls() const;
    // Bytes read in all, and the most asked of one read.
    long long BytesRead() const;
    long long LargestRead() const;
    // Waits until no call is held or in progress.
    void WaitIdle() const;
};
