#pragma once
// The gallery's worker threads: one small set for the whole program, shared
// by every scan, so that however often the user starts a scan the program
// holds no more threads than processors. A scan's jobs (reading its folder,
// decoding its pictures) form a group; stopping the group drops the jobs not
// begun and tells those under way, and nothing waits for them: a job stuck
// in a slow read is left to finish, or to end with the process.

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class QAbstractEventDispatcher;
class TImageList;

class WorkerGroup : public std::enable_shared_from_this<WorkerGroup> {
public:
    using Job = std::function<void(WorkerGroup&)>;

    // A group whose results wake the calling thread's event loop.
    static std::shared_ptr<WorkerGroup> Create();
    WorkerGroup(const WorkerGroup&) = delete;
    WorkerGroup& operator=(const WorkerGroup&) = delete;

    // Queues job on the gallery's workers, unless the group was stopped.
    void Post(Job job);
    // Drops the jobs not begun; the jobs under way see Stopped() and their
    // results are no longer handed over. Returns at once.
    void Stop();
    bool Stopped() const { return FStop.load(std::memory_order_relaxed); }
    const std::atomic<bool>* StopFlag() const { return &FStop; }
    // For a job: runs deliver and wakes the event loop of the group's
    // thread, unless the group was stopped first (nothing runs then). Once
    // Stop() has returned no deliver runs, so a stopped group's thread may
    // go away.
    void Deliver(const std::function<void()>& deliver);

    // How many workers there are at most: one a processor.
    static int Workers();

private:
    WorkerGroup() = default;

    std::mutex FLock;
    std::atomic<bool> FStop{false};
    QAbstractEventDispatcher* FDispatcher = nullptr;
};

// Empties the image list as its Clear does, freeing the tiles on a worker:
// two thousand tiles take the user-interface thread tens of milliseconds to
// free, page by page.
void ClearTilesAway(TImageList& list);
