#include "win32/monitors.h"

#include <algorithm>

namespace win32 {
namespace {

Monitor Described(HMONITOR handle) {
    Monitor monitor{};
    monitor.cbSize = sizeof monitor;
    if (!handle || !GetMonitorInfoW(handle, &monitor)) {
        // Without the monitors' list (older or stripped-down systems): the one screen there is.
        monitor.rcMonitor =
            monitor.rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        monitor.dwFlags = MONITORINFOF_PRIMARY;
    }
    return monitor;
}

BOOL CALLBACK Collect(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    auto& monitors = *reinterpret_cast<MonitorList*>(list);
    monitors.items[monitors.count++] = Described(handle);
    return monitors.count < MonitorList::kMost;
}

} // namespace

MonitorList Monitors() {
    MonitorList monitors;
    EnumDisplayMonitors(nullptr, nullptr, &Collect, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.count == 0) monitors.items[monitors.count++] = Described(nullptr);
    return monitors;
}

Monitor MonitorOf(HWND window) {
    return Described(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

RECT WorkAreaNear(const RECT& rect) {
    return Described(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)).rcWork;
}

const Monitor& FindOrPrimary(const MonitorList& monitors, const Monitor& known) {
    const Monitor* primary = monitors.begin();
    for (const Monitor& monitor : monitors) {
        if (SameDevice(monitor, known)) return monitor;
        if (monitor.dwFlags & MONITORINFOF_PRIMARY) primary = &monitor;
    }
    return *primary;
}

bool SameAreas(const MonitorList& first, const MonitorList& second) {
    return std::equal(
        first.begin(), first.end(), second.begin(), second.end(),
        [](const Monitor& a, const Monitor& b) { return EqualRect(&a.rcMonitor, &b.rcMonitor) != FALSE; });
}

void Desk::Remember(HWND window) {
    remembered_ = MonitorOf(window);
    any_ = true;
}

Monitor Desk::InUse(HWND window) const {
    if (!any_) return MonitorOf(window);
    return FindOrPrimary(Monitors(), remembered_);
}

} // namespace win32
