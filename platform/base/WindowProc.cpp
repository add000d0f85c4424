// Window handles for SendMessageA: each registered procedure gets a handle of
// its own; messages to unknown handles answer 0.

#include "platform/base/Windows.h"

#include <map>

namespace {

struct Registry {
    std::map<std::uintptr_t, WindowProc> procs;
    std::uintptr_t next = 0x10000;
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

HWND RegisterWindowProc(WindowProc proc)
{
    Registry& r = registry();
    const std::uintptr_t id = r.next;
    r.next += 0x10;
    r.procs.emplace(id, std::move(proc));
    return reinterpret_cast<HWND>(id);
}

void UnregisterWindowProc(HWND window)
{
    registry().procs.erase(reinterpret_cast<std::uintptr_t>(window));
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Registry& r = registry();
    const auto it = r.procs.find(reinterpret_cast<std::uintptr_t>(window));
    if (it == r.procs.end() || !it->second) return 0;
    // A copy: the procedure may unregister its own window while it runs.
    const WindowProc proc = it->second;
    return proc(message, wParam, lParam);
}
