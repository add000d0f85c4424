#include "thumbnails/GallerySearch.h"

#include "platform/base/Drives.h"
#include "platform/toolkit/Forms.h"

#include <deque>
#include <mutex>
#include <vector>

namespace {

// How far the search runs ahead of the scan, in names; past it the search
// waits until the scan has taken half of them.
constexpr size_t kNamesAhead = 256;
// Entries a worker reads in one go before it lets other jobs have a turn.
constexpr size_t kStepEntries = 64;
constexpr size_t kCountStepEntries = 1024;

}  // namespace

struct GallerySearch::State {
    std::mutex lock;
    std::string pattern;  // the folder's POSIX path + "\*.jpg"
    bool countOnly = false;
    // The search record: used by the one step under way (running), or under
    // the lock while none is.
    TSearchRec rec;
    bool open = false;
    bool started = false;
    bool running = false;
    bool ended = false;
    bool stopped = false;
    bool parked = false;  // no step queued: enough names wait for the scan
    std::deque<AnsiString> names;
    long long count = 0;

    void CloseLocked()
    {
        if (!open) return;
        FindClose(rec);
        open = false;
    }
};

namespace {

using State = GallerySearch::State;

void step(const std::shared_ptr<State>& s, WorkerGroup& group)
{
    {
        const std::lock_guard<std::mutex> lock(s->lock);
        if (s->stopped || s->ended) return;
        s->running = true;
    }
    std::vector<AnsiString> found;
    long long counted = 0;
    bool end = false;
    const size_t entries = s->countOnly ? kCountStepEntries : kStepEntries;
    auto take = [&] {
        if (s->countOnly)
            ++counted;
        else
            found.push_back(s->rec.Name);
    };
    if (!s->started) {
        s->started = true;
        s->open = FindFirst(s->pattern, faAnyFile, s->rec) == 0;
        if (s->open)
            take();
        else
            end = true;
    }
    for (size_t i = 0; !end && i < entries && !group.Stopped(); ++i) {
        if (FindNext(s->rec) == 0)
            take();
        else
            end = true;
    }
    bool again = false;
    {
        const std::lock_guard<std::mutex> lock(s->lock);
        s->running = false;
        for (AnsiString& name : found) s->names.push_back(std::move(name));
        s->count += counted;
        if (end) s->ended = true;
        if (s->ended || s->stopped) s->CloseLocked();
        const bool going = !s->ended && !s->stopped;
        again = going && (s->countOnly || s->names.size() < kNamesAhead);
        s->parked = going && !again;
    }
    if (end || !found.empty()) group.Deliver([] {});
    if (again) group.Post([s](WorkerGroup& g) { step(s, g); });
}

void start(const std::shared_ptr<State>& s, const std::shared_ptr<WorkerGroup>& jobs,
           const AnsiString& folder)
{
    // The folder is mapped here, where the drive map lives; the worker is
    // given its POSIX path.
    const auto posix = NamespaceToPosixPath(folder.empty() ? AnsiString("/") : folder);
    if (!posix) {
        s->ended = true;
        return;
    }
    s->pattern = *posix + "\\*.jpg";
    jobs->Post([s](WorkerGroup& g) { step(s, g); });
}

}  // namespace

GallerySearch::GallerySearch(const AnsiString& folder)
    : FJobs(WorkerGroup::Create()), FState(std::make_shared<State>())
{
    start(FState, FJobs, folder);
}

GallerySearch::~GallerySearch()
{
    Stop();
}

bool GallerySearch::Ready() const
{
    const std::lock_guard<std::mutex> lock(FState->lock);
    return !FState->names.empty() || FState->ended || FState->stopped;
}

bool GallerySearch::Found() const
{
    const std::lock_guard<std::mutex> lock(FState->lock);
    return !FState->names.empty();
}

AnsiString GallerySearch::Take()
{
    bool resume = false;
    AnsiString name;
    {
        const std::lock_guard<std::mutex> lock(FState->lock);
        name = std::move(FState->names.front());
        FState->names.pop_front();
        if (FState->parked && FState->names.size() <= kNamesAhead / 2) {
            FState->parked = false;
            resume = true;
        }
    }
    if (resume) FJobs->Post([s = FState](WorkerGroup& g) { step(s, g); });
    return name;
}

void GallerySearch::Stop()
{
    FJobs->Stop();
    const std::lock_guard<std::mutex> lock(FState->lock);
    FState->stopped = true;
    FState->names.clear();
    if (!FState->running) FState->CloseLocked();
}

namespace {

// The count of the newest apply: a newer one stops it at once.
GallerySearch* gNewestCount = nullptr;

}  // namespace

std::optional<long long> CountGalleryEntries(const AnsiString& folder,
                                             const std::function<bool()>& abandoned)
{
    auto state = std::make_shared<State>();
    state->countOnly = true;
    GallerySearch search(folder, state);
    GallerySearch* const older = gNewestCount;
    if (older) older->Stop();
    gNewestCount = &search;
    struct Restore {
        GallerySearch* older;
        ~Restore() { gNewestCount = older; }
    } restore{older};
    while (!search.Ready()) {
        Application->HandleMessage();
        if (abandoned()) return std::nullopt;
    }
    const std::lock_guard<std::mutex> lock(state->lock);
    if (!state->ended) return std::nullopt;  // a newer count stopped this one
    return state->count;
}

GallerySearch::GallerySearch(const AnsiString& folder, std::shared_ptr<State> state)
    : FJobs(WorkerGroup::Create()), FState(std::move(state))
{
    start(FState, FJobs, folder);
}
