#include "tests/thumbnails/SlowDisk.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Never destroyed: a call may still be held by a worker the program left
// behind when the test's process ends.
struct DiskState {
    std::mutex lock;
    std::condition_variable changed;
    FileSystemCalls real{};
    std::thread::id windowThread;
    int holding = -1;  // the kind held, or -1
    bool heldOnce = false;
    std::function<void()> onHeld;
    int held = 0;
    int inside = 0;
    int windowCalls = 0;
    int otherCalls = 0;
    long long bytes = 0;
    long long largest = 0;
};

DiskState& state()
{
    static DiskState* const instance = new DiskState;
    return *instance;
}

// Counts the call and holds it when its kind is held.
void enter(SlowDisk::Kind kind)
{
    DiskState& s = state();
    std::unique_lock<std::mutex> lock(s.lock);
    ++s.inside;
    ++(std::this_thread::get_id() == s.windowThread ? s.windowCalls : s.otherCalls);
    if (s.holding != kind) return;
    ++s.held;
    if (!s.heldOnce && s.onHeld) {
        s.heldOnce = true;
        s.onHeld();
    }
    s.changed.wait_for(lock, std::chrono::seconds(10), [&] { return s.holding != kind; });
    --s.held;
}

void leave()
{
    DiskState& s = state();
    const std::lock_guard<std::mutex> lock(s.lock);
    --s.inside;
    s.changed.notify_all();
}

int statusAt(int dirFd, const char* path, struct stat* status, int flags)
{
    enter(SlowDisk::Status);
    const int result = state().real.fstatat(dirFd, path, status, flags);
    leave();
    return result;
}

int openFile(const char* path, int flags)
{
    enter(SlowDisk::Open);
    const int result = state().real.open(path, flags);
    leave();
    return result;
}

ssize_t readFile(int fd, void* buffer, size_t count)
{
    enter(SlowDisk::Read);
    const ssize_t result = state().real.read(fd, buffer, count);
    {
        DiskState& s = state();
        const std::lock_guard<std::mutex> lock(s.lock);
        if (result > 0) s.bytes += result;
        s.largest = std::max(s.largest, static_cast<long long>(count));
    }
    leave();
    return result;
}

}  // namespace

SlowDisk::SlowDisk()
{
    DiskState& s = state();
    {
        const std::lock_guard<std::mutex> lock(s.lock);
        s.real = FileSystem();
        s.windowThread = std::this_thread::get_id();
        s.holding = -1;
        s.heldOnce = false;
        s.onHeld = {};
        s.windowCalls = s.otherCalls = 0;
        s.bytes = s.largest = 0;
    }
    FileSystem() = {statusAt, openFile, readFile};
}

SlowDisk::~SlowDisk()
{
    Release();
    WaitIdle();
    FileSystem() = state().real;
}

void SlowDisk::Hold(Kind kind, std::function<void()> onHeld)
{
    DiskState& s = state();
    const std::lock_guard<std::mutex> lock(s.lock);
    s.holding = kind;
    s.heldOnce = false;
    s.onHeld = std::move(onHeld);
}

void SlowDisk::Release()
{
    DiskState& s = state();
    const std::lock_guard<std::mutex> lock(s.lock);
    s.holding = -1;
    s.changed.notify_all();
}

int SlowDisk::Held() const
{
    const std::lock_guard<std::mutex> lock(state().lock);
    return state().held;
}

int SlowDisk::WindowThreadCalls() const
{
    const std::lock_guard<std::mutex> lock(state().lock);
    return state().windowCalls;
}

int SlowDisk::OtherThreadCalls() const
{
    const std::lock_guard<std::mutex> lock(state().lock);
    return state().otherCalls;
}

long long SlowDisk::BytesRead() const
{
    const std::lock_guard<std::mutex> lock(state().lock);
    return state().bytes;
}

long long SlowDisk::LargestRead() const
{
    const std::lock_guard<std::mutex> lock(state().lock);
    return state().largest;
}

void SlowDisk::WaitIdle() const
{
    DiskState& s = state();
    std::unique_lock<std::mutex> lock(s.lock);
    s.changed.wait_for(lock, std::chrono::seconds(10), [&] { return s.inside == 0; });
}
