#include "thumbnails/GalleryWorkers.h"

#include "platform/toolkit/ImageList.h"

#include <QAbstractEventDispatcher>
#include <QImage>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <thread>
#include <utility>
#include <vector>

#include <cerrno>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// How much nicer than the user-interface thread the workers run: the window
// wins the processor whenever it has something to do, while the workers keep
// most of their share against the machine's other programs.
constexpr int kWorkerNiceness = 5;

// Linux gives each thread its own niceness and policy, and a worker is ours
// alone. The batch policy also keeps a worker that wakes from taking the
// processor from the window.
void lowerThisThreadsPriority()
{
    const sched_param parameters{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters);
    const auto tid = static_cast<id_t>(gettid());
    errno = 0;
    const int now = getpriority(PRIO_PROCESS, tid);
    if (errno == 0) setpriority(PRIO_PROCESS, tid, std::min(19, now + kWorkerNiceness));
}

struct Queued {
    std::shared_ptr<WorkerGroup> group;
    WorkerGroup::Job job;
};

// The workers start when first needed and are never joined: the program
// ends whether or not one of them is still inside the kernel, so the pool
// is never destroyed either (its workers may still be waiting on it).
class Pool {
public:
    void Post(std::shared_ptr<WorkerGroup> group, WorkerGroup::Job job)
    {
        const std::lock_guard<std::mutex> lock(FLock);
        FJobs.push_back({std::move(group), std::move(job)});
        if (FIdle > 0) {
            FWake.notify_one();
        } else if (FThreads < WorkerGroup::Workers()) {
            ++FThreads;
            std::thread([this] { Work(); }).detach();
        }
    }

    void Drop(const WorkerGroup* group)
    {
        std::vector<Queued> dropped;  // released outside the lock
        const std::lock_guard<std::mutex> lock(FLock);
        for (auto it = FJobs.begin(); it != FJobs.end();) {
            if (it->group.get() == group) {
                dropped.push_back(std::move(*it));
                it = FJobs.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    [[noreturn]] void Work()
    {
        lowerThisThreadsPriority();
        for (;;) {
            Queued next;
            {
                std::unique_lock<std::mutex> lock(FLock);
                ++FIdle;
                FWake.wait(lock, [this] { return !FJobs.empty(); });
                --FIdle;
                next = std::move(FJobs.front());
                FJobs.pop_front();
            }
            if (!next.group->Stopped()) next.job(*next.group);
        }
    }

    std::mutex FLock;
    std::condition_variable FWake;
    std::deque<Queued> FJobs;
    int FThreads = 0;
    int FIdle = 0;
};

Pool& pool()
{
    static Pool* const instance = new Pool;
    return *instance;
}

}  // namespace

std::shared_ptr<WorkerGroup> WorkerGroup::Create()
{
    std::shared_ptr<WorkerGroup> group(new WorkerGroup);
    group->FDispatcher = QAbstractEventDispatcher::instance();
    return group;
}

void WorkerGroup::Post(Job job)
{
    if (Stopped()) return;
    pool().Post(shared_from_this(), std::move(job));
}

void WorkerGroup::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(FLock);
        FStop = true;
    }
    pool().Drop(this);
}

void WorkerGroup::Deliver(const std::function<void()>& deliver)
{
    const std::lock_guard<std::mutex> lock(FLock);
    if (Stopped()) return;
    deliver();
    if (FDispatcher) FDispatcher->wakeUp();
}

int WorkerGroup::Workers()
{
    static const int workers = std::max(1, QThread::idealThreadCount());
    return workers;
}

void ClearTilesAway(TImageList& list)
{
    std::vector<QPixmap> tiles = list.TakeImages();
    if (tiles.empty()) return;
    // A pixmap here holds its pixels as an image that it shares, and an
    // image may be freed on any thread.
    auto pixels = std::make_shared<std::vector<QImage>>();
    pixels->reserve(tiles.size());
    for (const QPixmap& tile : tiles) pixels->push_back(tile.toImage());
    tiles.clear();
    static const std::shared_ptr<WorkerGroup> freeing = WorkerGroup::Create();
    freeing->Post([pixels](WorkerGroup&) { pixels->clear(); });
}
