#include "win32/monitors.h"

#include <algorithm>

namespace win32 {
namespace {

Monitor Described(HMONITOR handle) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    Monitor monitor;
    if (!handle || !GetMonitorInfoW(handle, &info)) {
        // Without the monitors' list (older or stripped-down systems): the one screen there is.
        monitor.area = monitor.work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        monitor.primary = true;
        return monitor;
    }
    monitor.area = info.rcMonitor;
    monitor.work = info.rcWork;
    std::copy(std::begin(info.szDevice), std::end(info.szDevice), monitor.device.begin());
    monitor.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
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
    return Described(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)).work;
}

const Monitor& FindOrPrimary(const MonitorList& monitors, const Monitor& known) {
    const Monitor* primary = monitors.begin();
    for (const Monitor& monitor : monitors) {
        if (monitor.SameDevice(known)) return monitor;
        if (monitor.primary) primary = &monitor;
    }
    return *primary;
}

bool SameAreas(const MonitorList& first, const MonitorList& second) {
    return std::equal(
        first.begin(), first.end(), second.begin(), second.end(),
        [](const Monitor& a, const Monitor& b) { return EqualRect(&a.area, &b.area) != FALSE; });
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
