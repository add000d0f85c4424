// Scrolling a 100 000-entry folder in the real window, in every view style
// and the ways a person scrolls: Page Down held, the wheel turned, the scroll
// bar's thumb dragged to far places, Home and End. Paced as a display paces
// it: one step a frame of 16.7 ms, the event loop and then sleep between
// frames. Per frame, from the input event through the scroll, the cache hint,
// the row requests and the painting of everything the step made dirty (the
// window's own repaint, flushed to the screen), in wall time and in this
// thread's CPU time; the difference is mostly time spent waiting for the
// processor, which the scheduler's run-queue delay tells apart. "late" is how
// long after its display frame began a frame started: waking from the sleep
// takes a processor too.
//
// Usage: scroll_bench [work folder] [entries] [label] [views] [motions]
//   views: a comma list of icon, small, list, report (default all four);
//   motions: a comma list of page, wheel, drag, ends (default all four).
// The folder is opened afresh before each view and motion, so every run
// loads the details of the rows it shows. Prints one line per run: frames,
// median, 99th percentile and worst in wall and CPU time; goal: no frame
// over 8 ms of CPU, none over 16 ms of wall time.
// QUILLET_SCROLL_SHOTS=folder saves a picture of the window in each view
// style there instead (QUILLET_SCROLL_DARK=1: in a dark palette), so two
// builds can be compared pixel for pixel.
// QUILLET_SCROLL_DETAIL=1 also prints where each run's worst frames went,
// and a line for every frame over the goal; a frame over 8 ms of CPU is
// painted again at once, and what that took is printed beside it.
// QUILLET_SCROLL_SAMPLE_MS=n samples the stack of frames running past n ms
// (the sampling itself costs time: not for the figures).

#include "app/Quillet.h"
#include "bench/BenchFolder.h"
#include "platform/base/Classes.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Forms.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <dirent.h>
#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

void MakeFolder(const std::string& path, int entries)
{
    MakeFolderOnce(
        path, entries,
        [](int i) {
            char name[48];
            std::snprintf(name, sizeof name, "Entry%06d%s", i,
                          i % 3 == 0 ? ".jpg" : (i % 3 == 1 ? ".txt" : ".pdf"));
            return std::string(name);
        },
        [](int) { return false; });
}

QAbstractItemView* FileView()
{
    QWidget* widget = frmQuillet->lstvwVirtualList->Widget();
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) return view;
    // One view per style; the one of the current style is the one shown.
    for (auto* view : widget->findChildren<QAbstractItemView*>())
        if (view->isVisibleTo(widget)) return view;
    return nullptr;
}

// CPU time of this thread: on a shared machine the wall clock also counts
// the time other processes held the processor.
double ThreadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

// Median, 99th percentile and worst of one measure over a run's frames.
std::string Spread(const std::vector<double>& values)
{
    char text[64];
    std::snprintf(text, sizeof text, "%6.2f %6.2f %6.2f", Percentile(values, 0.5),
                  Percentile(values, 0.99), *std::max_element(values.begin(), values.end()));
    return text;
}

double MonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

timespec FromMs(double ms)
{
    timespec at{};
    at.tv_sec = static_cast<time_t>(ms / 1e3);
    at.tv_nsec = static_cast<long>((ms - static_cast<double>(at.tv_sec) * 1e3) * 1e6);
    return at;
}

// Lets the event loop run until just before the frame is due, as a shown
// window's does between frames, then sleeps out the rest.
void WaitForFrame(double dueMs)
{
    const double left = dueMs - MonotonicMs();
    if (left > 2) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(left) - 1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const timespec due = FromMs(dueMs);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) != 0) {}
}

// This thread's time waiting in the run queue for a processor, in ms (the
// scheduler's own count); negative when the kernel does not keep it.
class RunQueueDelay {
public:
    RunQueueDelay() : FFile(open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {}
    ~RunQueueDelay()
    {
        if (FFile >= 0) close(FFile);
    }
    RunQueueDelay(const RunQueueDelay&) = delete;
    RunQueueDelay& operator=(const RunQueueDelay&) = delete;

    double Ms() const
    {
        char text[128] = {};
        if (FFile < 0 || pread(FFile, text, sizeof text - 1, 0) <= 0) return -1;
        unsigned long long running = 0;
        unsigned long long waiting = 0;
        if (std::sscanf(text, "%llu %llu", &running, &waiting) != 2) return -1;
        return static_cast<double>(waiting) / 1e6;
    }

private:
    int FFile;
};

rusage ThreadUsage()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage;
}

// Time spent in the window's list handlers, summed since the last reset:
// what the frame's own work is made of. Read on the monotonic clock: the
// thread's CPU clock is a system call, and the drawing events run by the
// hundred a frame, so timing them by it would slow the frames it measures.
struct HandlerTimes {
    double hint = 0;  // the cache hint: loading the details of the rows coming into view
    double data = 0;  // the row requests
    double draw = 0;  // the drawing events
};

HandlerTimes gHandlers;

template <class Event>
void TimeHandler(Event& event, double HandlerTimes::*total)
{
    Event inner = event;
    if (!inner) return;
    event = [inner, total](auto&&... args) {
        const double start = MonotonicMs();
        inner(std::forward<decltype(args)>(args)...);
        gHandlers.*total += MonotonicMs() - start;
    };
}

struct Frame {
    double wall = 0;
    double cpu = 0;
    double inputCpu = 0;  // the input event: the scroll and what it set off
    double paintCpu = 0;
    double paintWall = 0;
    double waited = 0;
    double blockedMs = 0;
    double late = 0;  // how long after its display frame began it started
    long preempted = 0;
    long blocked = 0;
    long faults = 0;
    double systemMs = 0;   // of cpu, the part in the kernel
    double replayCpu = 0;  // over the goal: the same view painted again at once
    HandlerTimes handlers;
};

// Where a frame that runs long spends its time, when QUILLET_SCROLL_SAMPLE_MS
// is set: once a frame has run that many ms, a watchdog thread interrupts the
// user-interface thread every millisecond and the signal handler records its
// stack. Frames with 8 ms of CPU or more print their stacks, most frequent
// first.
class SlowFrameSampler {
public:
    explicit SlowFrameSampler(double afterMs) : FAfterMs(afterMs), FTarget(pthread_self())
    {
        void* warm[4];
        (void)backtrace(warm, 4);  // loads the unwinder outside the handler
        struct sigaction action {};
        action.sa_handler = [](int) {
            const int slot = sCount.fetch_add(1);
            if (slot < kSamples) sDepths[slot] = backtrace(sStacks[slot], kDepth);
        };
        action.sa_flags = SA_RESTART;
        sigaction(SIGPROF, &action, nullptr);
        FWatchdog = std::thread([this] {
            while (!FStop) {
                usleep(1000);
                const double start = FFrameStart.load();
                if (start > 0 && MonotonicMs() - start > FAfterMs) pthread_kill(FTarget, SIGPROF);
            }
        });
    }
    ~SlowFrameSampler()
    {
        FStop = true;
        FWatchdog.join();
        signal(SIGPROF, SIG_IGN);
    }
    SlowFrameSampler(const SlowFrameSampler&) = delete;
    SlowFrameSampler& operator=(const SlowFrameSampler&) = delete;

    void FrameStarts(double at)
    {
        sCount = 0;
        FFrameStart = at;
    }

    void FrameEnds(long index, double cpuMs)
    {
        FFrameStart = 0;
        const int samples = std::min(sCount.load(), kSamples);
        if (cpuMs < 8 || samples == 0) return;
        std::map<std::vector<void*>, int> stacks;
        for (int i = 0; i < samples; ++i)
            ++stacks[std::vector<void*>(sStacks[i] + 2, sStacks[i] + std::max(2, sDepths[i]))];
        std::vector<std::pair<int, std::vector<void*>>> byCount;
        for (const auto& [stack, count] : stacks) byCount.emplace_back(count, stack);
        std::sort(byCount.rbegin(), byCount.rend());
        std::printf("  frame #%ld, cpu %.2f ms: %d samples after the first %.0f ms\n", index, cpuMs,
                    samples, FAfterMs);
        for (size_t i = 0; i < std::min<size_t>(3, byCount.size()); ++i) {
            std::printf("    %d samples at\n", byCount[i].first);
            std::fflush(stdout);
            const auto& stack = byCount[i].second;
            backtrace_symbols_fd(stack.data(), static_cast<int>(std::min<size_t>(14, stack.size())),
                                 STDOUT_FILENO);
        }
        std::fflush(stdout);
    }

private:
    static constexpr int kSamples = 512;
    static constexpr int kDepth = 32;
    static inline void* sStacks[kSamples][kDepth];
    static inline int sDepths[kSamples];
    static inline std::atomic<int> sCount{0};
    const double FAfterMs;
    const pthread_t FTarget;
    std::atomic<double> FFrameStart{0};
    std::atomic<bool> FStop{false};
    std::thread FWatchdog;
};

// CPU and run-queue delay so far of every thread of this process but the
// calling one, in ms, by thread name: Qt hands large fills to pooled threads
// and waits for them, so their delay is the frame's too.
std::map<std::string, std::pair<double, double>> OtherThreads()
{
    std::map<std::string, std::pair<double, double>> threads;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return threads;
    const std::string self = std::to_string(gettid());
    while (const dirent* task = readdir(tasks)) {
        const std::string id = task->d_name;
        if (id == "." || id == ".." || id == self) continue;
        std::string name;
        std::getline(std::ifstream("/proc/self/task/" + id + "/comm"), name);
        double running = 0;
        double waiting = 0;
        std::ifstream("/proc/self/task/" + id + "/schedstat") >> running >> waiting;
        auto& sum = threads[name];
        sum.first += running / 1e6;
        sum.second += waiting / 1e6;
    }
    closedir(tasks);
    return threads;
}

// Where one frame's time went.
void PrintFrame(const char* what, long index, const Frame& frame)
{
    std::printf(
        "    %s: frame #%ld, wall %.2f ms (%.2f painting), cpu %.2f ms (input %.2f, "
        "paint %.2f; in the kernel %.1f)\n",
        what, index, frame.wall, frame.paintWall, frame.cpu, frame.inputCpu, frame.paintCpu,
        frame.systemMs);
    std::printf(
        "      in the list's handlers: hint (row details) %.2f, row requests %.2f, drawing "
        "events %.2f; the rest is the toolkit's\n",
        frame.handlers.hint, frame.handlers.data, frame.handlers.draw);
    std::printf(
        "      waiting for a processor %.2f ms (preempted %ld times), blocked %.2f ms (%ld "
        "voluntary switches), %ld page faults, started %.2f ms late\n",
        frame.waited, frame.preempted, frame.blockedMs, frame.blocked, frame.faults, frame.late);
}

// Counts the paints of the list's viewport: a frame ends once the window has
// painted what its step made dirty.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Lets the window paint what is dirty, as its event loop would: the update
// request the repaint manager posted paints every dirty widget of the window
// and flushes it to the screen. Returns false when nothing was painted.
bool PaintDirty(const PaintCounter& counter)
{
    QCoreApplication::sendPostedEvents();
    const double until = MonotonicMs() + 100;
    while (counter.paints == 0 && MonotonicMs() < until)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return counter.paints > 0;
}

struct Style {
    const char* name;
    TViewStyle style;
};
constexpr Style kStyles[] = {
    {"icon", vsIcon}, {"small", vsSmallIcon}, {"list", vsList}, {"report", vsReport}};

// One input step a frame; false once the motion is over.
using Step = std::function<bool()>;

void SendKey(QWidget* to, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(to, &release);
}

// The scroll bar that moves through the rows: the list view's rows flow in
// columns, sideways.
QScrollBar* RowBar(QAbstractItemView* view, TViewStyle style)
{
    return style == vsList ? view->horizontalScrollBar() : view->verticalScrollBar();
}

constexpr int kWheelFrames = 600;
constexpr int kDragFrames = 240;
constexpr int kEndsFrames = 60;

Step MakeStep(const std::string& motion, QAbstractItemView* view, TViewStyle style)
{
    QScrollBar* bar = RowBar(view, style);
    if (motion == "page") {
        // Page Down held: the focus moves a page and the view follows it.
        return [view] {
            const int count = view->model()->rowCount();
            if (view->currentIndex().row() >= count - 1) return false;
            SendKey(view, Qt::Key_PageDown);
            return true;
        };
    }
    if (motion == "wheel") {
        // A notch of a mouse wheel a frame: three lines; over rows that flow
        // sideways, a notch of a sideways wheel.
        auto frames = std::make_shared<int>(0);
        const QPoint delta = style == vsList ? QPoint(-120, 0) : QPoint(0, -120);
        return [view, bar, frames, delta] {
            if (++*frames > kWheelFrames || bar->value() >= bar->maximum()) return false;
            const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
            QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), delta, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
            return true;
        };
    }
    if (motion == "drag") {
        // The thumb held and moved to far places of the list, each a quarter
        // of the list or more from the last.
        auto frames = std::make_shared<int>(0);
        auto seed = std::make_shared<std::uint32_t>(24);
        return [bar, frames, seed] {
            if (*frames == kDragFrames) {
                bar->setSliderDown(false);
                return false;
            }
            if ((*frames)++ == 0) bar->setSliderDown(true);
            const int range = std::max(1, bar->maximum());
            int to = bar->sliderPosition();
            while (std::abs(to - bar->sliderPosition()) < range / 4) {
                *seed = *seed * 1664525u + 1013904223u;
                to = static_cast<int>(*seed % static_cast<std::uint32_t>(range + 1));
            }
            bar->setSliderPosition(to);
            return true;
        };
    }
    // End, Home, End, ...
    auto frames = std::make_shared<int>(0);
    return [view, frames] {
        if (*frames == kEndsFrames) return false;
        SendKey(view, (*frames)++ % 2 == 0 ? Qt::Key_End : Qt::Key_Home);
        return true;
    };
}

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> parts;
    std::stringstream in(list);
    for (std::string part; std::getline(in, part, ',');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// One view style, one motion, on a folder opened afresh.
void Run(const std::string& folder, const Style& style, const std::string& motion,
         SlowFrameSampler* sampler, bool detail)
{
    frmQuillet->lstvwVirtualList->SetViewStyle(style.style);
    frmQuillet->OpenFolderPath("C:\\" + folder);
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    QAbstractItemView* view = FileView();
    if (!view) {
        std::fprintf(stderr, "no item view in the file list\n");
        std::exit(1);
    }
    view->setFocus();
    PaintCounter counter;
    view->viewport()->installEventFilter(&counter);
    const Step step = MakeStep(motion, view, style.style);

    std::vector<Frame> frames;
    const RunQueueDelay runQueue;
    constexpr double kFrameMs = 1000.0 / 60;
    double due = MonotonicMs() + kFrameMs;
    int missed = 0;
    int unpainted = 0;
    for (;;) {
        WaitForFrame(due);
        Frame frame;
        const double waitedStart = runQueue.Ms();
        const rusage usageStart = ThreadUsage();
        const double cpuStart = ThreadMs();
        gHandlers = {};
        counter.paints = 0;
        const double wallStart = MonotonicMs();
        if (sampler) sampler->FrameStarts(wallStart);
        frame.late = wallStart - due;
        if (!step()) break;
        const double cpuStepped = ThreadMs();
        const double wallStepped = MonotonicMs();
        const bool painted = PaintDirty(counter);
        const double wallEnd = MonotonicMs();
        const double cpuEnd = ThreadMs();
        if (sampler) sampler->FrameEnds(static_cast<long>(frames.size()), cpuEnd - cpuStart);
        frame.wall = wallEnd - wallStart;
        frame.cpu = cpuEnd - cpuStart;
        frame.inputCpu = cpuStepped - cpuStart;
        frame.paintCpu = cpuEnd - cpuStepped;
        frame.paintWall = wallEnd - wallStepped;
        frame.waited = runQueue.Ms() - waitedStart;
        frame.blockedMs = frame.wall - frame.cpu - frame.waited;
        const rusage usageEnd = ThreadUsage();
        // Involuntary switches: the processor taken away; voluntary: the thread blocked.
        frame.preempted = usageEnd.ru_nivcsw - usageStart.ru_nivcsw;
        frame.blocked = usageEnd.ru_nvcsw - usageStart.ru_nvcsw;
        frame.faults = usageEnd.ru_minflt - usageStart.ru_minflt;
        frame.systemMs =
            static_cast<double>(usageEnd.ru_stime.tv_sec - usageStart.ru_stime.tv_sec) * 1e3 +
            static_cast<double>(usageEnd.ru_stime.tv_usec - usageStart.ru_stime.tv_usec) / 1e3;
        frame.handlers = gHandlers;
        // A frame over the goal is painted again at once, the whole view with
        // the rows already loaded: what the painting itself costs, to tell the
        // program's work from time the machine did not give it.
        if (painted && frame.cpu > 8) {
            const double replayStart = ThreadMs();
            view->viewport()->repaint();
            frame.replayCpu = ThreadMs() - replayStart;
        }
        // A step that painted nothing (the motion already at its end) is no frame.
        if (painted)
            frames.push_back(frame);
        else
            ++unpainted;
        // The next frame is the next one the display shows after this one
        // ends; a frame that ran long misses the ones in between.
        due += kFrameMs;
        while (due < wallEnd) {
            due += kFrameMs;
            ++missed;
        }
    }
    view->viewport()->removeEventFilter(&counter);
    if (frames.empty()) {
        std::printf("  %-6s %-5s no frame painted\n", style.name, motion.c_str());
        return;
    }
    auto column = [&](double Frame::*field) {
        std::vector<double> values;
        for (const Frame& frame : frames) values.push_back(frame.*field);
        return values;
    };
    const auto over = std::count_if(frames.begin(), frames.end(),
                                    [](const Frame& f) { return f.cpu > 8 || f.wall > 16; });
    std::printf(
        "  %-6s %-5s %6zu | %s | %s | %6.2f | %4ld %4d\n", style.name, motion.c_str(),
        frames.size(), Spread(column(&Frame::wall)).c_str(), Spread(column(&Frame::cpu)).c_str(),
        std::max_element(
            frames.begin(), frames.end(),
            [](const Frame& a, const Frame& b) { return a.handlers.hint < b.handlers.hint; })
            ->handlers.hint,
        static_cast<long>(over), missed);
    if (unpainted > 1) std::printf("    (%d steps painted nothing)\n", unpainted - 1);
    if (!detail) return;
    auto worstBy = [&](double Frame::*field) {
        return std::max_element(
                   frames.begin(), frames.end(),
                   [field](const Frame& a, const Frame& b) { return a.*field < b.*field; }) -
               frames.begin();
    };
    const long worstWall = worstBy(&Frame::wall);
    const long worstCpu = worstBy(&Frame::cpu);
    PrintFrame("worst wall", worstWall, frames[static_cast<size_t>(worstWall)]);
    if (worstCpu != worstWall)
        PrintFrame("worst cpu", worstCpu, frames[static_cast<size_t>(worstCpu)]);
    std::printf("      queue ms %s, late %s\n", Spread(column(&Frame::waited)).c_str(),
                Spread(column(&Frame::late)).c_str());
    // Every frame over the goal, in a line: where in the run, and whether the
    // kernel or the list's handlers had the time.
    for (size_t i = 0; i < frames.size(); ++i) {
        const Frame& f = frames[i];
        if (f.cpu <= 8 && f.wall <= 16) continue;
        std::printf(
            "      over: #%zu wall %.2f cpu %.2f (kernel %.1f) hint %.2f draw %.2f, %ld faults, "
            "%ld preempted; painted again: cpu %.2f\n",
            i, f.wall, f.cpu, f.systemMs, f.handlers.hint, f.handlers.draw, f.faults, f.preempted,
            f.replayCpu);
    }
}

// Pictures of the window in every view style, for comparing two builds:
// the folder opened, row 1234 selected and shown, in the palette as it is
// or, with dark set, a dark one.
void SaveShots(const std::string& folder, const std::string& to, bool dark)
{
    if (dark) {
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(53, 53, 53));
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Base, QColor(35, 35, 35));
        palette.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
        palette.setColor(QPalette::Text, Qt::white);
        palette.setColor(QPalette::Button, QColor(53, 53, 53));
        palette.setColor(QPalette::ButtonText, Qt::white);
        palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
        palette.setColor(QPalette::HighlightedText, Qt::black);
        QApplication::setPalette(palette);
    }
    for (const Style& style : kStyles) {
        frmQuillet->lstvwVirtualList->SetViewStyle(style.style);
        frmQuillet->OpenFolderPath("C:\\" + folder);
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        QAbstractItemView* view = FileView();
        view->setFocus();
        const QModelIndex row = view->model()->index(1234, 0);
        view->selectionModel()->setCurrentIndex(
            row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(row);
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        const std::string name = to + "/" + style.name + (dark ? "-dark" : "-default") + ".png";
        frmQuillet->Widget()->window()->grab().save(QString::fromStdString(name));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp/quillet-scroll-bench";
    const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
    const std::string label = argc > 3 ? argv[3] : "frames";
    const std::vector<std::string> views = Split(argc > 4 ? argv[4] : "icon,small,list,report");
    const std::vector<std::string> motions = Split(argc > 5 ? argv[5] : "page,wheel,drag,ends");
    mkdir(work.c_str(), 0755);
    const std::string folder = std::string("f").append(std::to_string(entries));
    MakeFolder(work + "/" + folder, entries);
    setenv("QUILLET_DRIVES", ("C=" + work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ReloadDriveMap();

    Application->Initialize();
    Application->CreateForm(frmQuillet);
    TCustomListView* list = frmQuillet->lstvwVirtualList;
    TimeHandler(list->OnDataHint, &HandlerTimes::hint);
    TimeHandler(list->OnData, &HandlerTimes::data);
    TimeHandler(list->OnCustomDrawItem, &HandlerTimes::draw);
    TimeHandler(list->OnCustomDrawSubItem, &HandlerTimes::draw);
    frmQuillet->SetWindowState(wsNormal);
    frmQuillet->SetBounds(0, 0, 1024, 768);
    frmQuillet->Show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();

    if (const char* shots = std::getenv("QUILLET_SCROLL_SHOTS")) {
        SaveShots(folder, shots, std::getenv("QUILLET_SCROLL_DARK") != nullptr);
        delete frmQuillet;
        frmQuillet = nullptr;
        Application->DestroyComponents();
        return 0;
    }
    std::unique_ptr<SlowFrameSampler> sampler;
    if (const char* after = std::getenv("QUILLET_SCROLL_SAMPLE_MS"))
        sampler = std::make_unique<SlowFrameSampler>(std::atof(after));
    const bool detail = std::getenv("QUILLET_SCROLL_DETAIL") != nullptr;
    std::printf(
        "%s: %d entries, %s, one step a frame of 16.7 ms; times in ms\n"
        "  view   step  frames | wall: median    p99  worst | cpu: median    p99  worst | "
        "hint worst | over missed\n",
        label.c_str(), entries, QApplication::platformName().toUtf8().constData());
    const auto threadsBefore = OtherThreads();
    for (const std::string& name : views) {
        const auto style = std::find_if(std::begin(kStyles), std::end(kStyles),
                                        [&](const Style& s) { return name == s.name; });
        if (style == std::end(kStyles)) {
            std::fprintf(stderr, "no view style %s\n", name.c_str());
            return 2;
        }
        for (const std::string& motion : motions) {
            if (motion != "page" && motion != "wheel" && motion != "drag" && motion != "ends") {
                std::fprintf(stderr, "no motion %s\n", motion.c_str());
                return 2;
            }
            Run(folder, *style, motion, sampler.get(), detail);
            std::fflush(stdout);
        }
    }
    std::printf(
        "  over: frames over 8 ms of CPU or 16 ms of wall time; missed: display frames "
        "missed\n");
    for (const auto& [name, after] : OtherThreads()) {
        const auto before = threadsBefore.find(name);
        const auto start = before == threadsBefore.end() ? std::pair(0.0, 0.0) : before->second;
        std::printf(
            "  other threads \"%s\" over the runs: cpu %.1f ms, waiting for a processor %.1f "
            "ms\n",
            name.c_str(), after.first - start.first, after.second - start.second);
    }
    delete frmQuillet;
    frmQuillet = nullptr;
    Application->DestroyComponents();
    return 0;
}
