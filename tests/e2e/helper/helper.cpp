// The end-to-end tests' hands and eyes inside the Wine session: it lists and dumps windows, waits
// for them, clicks, types and closes, as a user and a screen reader would.
//
// `e2e_helper COMMAND ARGS...` prints records, one per line, each a tab-separated list of
// name=value fields (tabs, line breaks and backslashes in values escaped as \t \n \r \\; list
// items separated by \x1f), and last a record end=CODE, so that a caller can tell an answer from a
// helper that Wine did not run through. Exit code (and CODE) 0: done; 1: the window or control is
// not there, or the wait timed out; 2: a wrong command line; 3: the state an action needs (the
// window in front and under the pointer, the program answering, the control enabled) never came,
// so the action was not given. With 1 and 3 an error record says what was seen instead.
//
//   windows                        every visible top-level window, topmost first
//   dump WINDOW [items]            the window, then its focus (kind=focus), then its controls
//                                  (kind=control, depth=1 for its children, 2 below them...), with
//                                  the entries of each combo box's list if asked for
//   keys WINDOW KEY...             waits for the window in front and answering, then types: TAB
//                                  ENTER ESC SPACE UP DOWN LEFT RIGHT HOME END PGUP PGDN INSERT
//                                  DELETE BACK F1..F12, letters and digits, chords like SHIFT+TAB or
//                                  ALT+F4, text:ANY TEXT; WINDOW "-": at once, to whatever has the
//                                  keyboard, as a hand types on a busy program
//   click-control WINDOW TEXT|#ID [COUNT]   waits for the window in front, answering and under the
//                                  pointer in the middle of the control, and the control enabled,
//                                  then clicks it COUNT times, as one click
//   post WINDOW MESSAGE [WPARAM [LPARAM]]   posts the message (a number) to that window alone (#HWND
//                                  for a hidden one or a control); the record gives the window and
//                                  the tick count when it posted
//   send WINDOW MESSAGE [WPARAM [LPARAM]]   sends it, and waits for the answer: the record gives the
//                                  window, the answer and the tick counts when it sent and when the
//                                  answer came
//   post-all, send-all             the same to every top-level window of the window's program in
//                                  turn, hidden ones too, as "End task" and a log-off do, a record
//                                  each; a window that went meanwhile is left out
//   display-mode W H               changes the screen's resolution (Wine's virtual desktop)
//   raise WINDOW                   brings the window to the front, as a click into it would
//   start-at X Y PROGRAM           starts the program with X,Y as the place for its first window
//                                  (STARTF_USEPOSITION, as a shortcut may give it), without waiting
//   move WINDOW X Y                moves the window's top left corner there, as a drag would
//   click-at X Y [COUNT]           COUNT clicks (one) at that point of the desk, whatever is in front
//                                  there; the record gives what the press lands on, read before:
//                                  the top-level window, the control (or that window) and its text,
//                                  and where on the window it is (WM_NCHITTEST: 3 the window menu's
//                                  icon, 20 the close box)
//   drag X Y DX DY                 the left button pressed there and let go DX,DY further; the
//                                  record as click-at's
//   monitors                       every monitor: its rectangle, work area, device, whether primary,
//                                  and the screen's resolution
//   processes                      every process of the session: its id and program file
//   text-size FACE POINTS CHARSET TEXT   the text's extent in that font at the screen's resolution
//   dpi-change WINDOW DPI          sends the window what a move to a monitor of that DPI brings
//   watch-foreground MS            watches, for at most MS, the foreground window (sampled every
//                                  5 ms) while the helper goes on answering
//   watched                        stops the watch: the foreground window each time it changed,
//                                  with the milliseconds since the start, the first at the start
//   serve                          says serving=1, then reads commands from standard input, one a
//                                  line with tabs between the words, and answers each as above
// WINDOW is an exact title, or #HWND for any window by handle.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;
constexpr DWORD kPollMs = 50;
constexpr DWORD kStepMs = 60;
constexpr size_t kBurstChars = 16;
constexpr UINT kAnswerMs = 2000; // a window that does not answer in time is marked hung
// How long an action waits for the state it needs: generous, for a machine under load.
constexpr DWORD kStateMs = 30000;

// Ends the command with an exit code and a message of what was seen.
struct Failure {
    int code;
    std::wstring message;
};
constexpr int kNotThere = 1, kUsage = 2, kNeverCame = 3;

// ----- output -----
// Characters a value escapes with a backslash, and the letter each is then written as.
constexpr std::wstring_view kSpecial = L"\\\t\n\r", kEscaped = L"\\tnr";

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

// One line of the answer, written out when the record goes out of scope.
class Record {
public:
    Record& Add(const wchar_t* name, const std::wstring& value) {
        line_ += line_.empty() ? L"" : L"\t";
        line_ += name;
        line_ += L'=';
        for (wchar_t c : value) {
            const size_t special = kSpecial.find(c);
            line_ += special == std::wstring_view::npos ? std::wstring(1, c)
                                                        : std::wstring{L'\\', kEscaped[special]};
        }
        return *this;
    }
    Record& Add(const wchar_t* name, long long value) { return Add(name, std::to_wstring(value)); }
    Record& Add(const wchar_t* name, HWND value) {
        return Add(name, static_cast<long long>(reinterpret_cast<UINT_PTR>(value)));
    }
    Record& Add(const wchar_t* name, const RECT& r) {
        return Add(name, std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                             std::to_wstring(r.right - r.left) + L"," + std::to_wstring(r.bottom - r.top));
    }
    ~Record() {
        const std::string bytes = Utf8(line_ + L"\n");
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                  nullptr);
    }

private:
    std::wstring line_;
};

// ----- reading windows -----
bool hung = false;

// Asks another process's window without hanging on one that does not answer.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (hung) return 0;
    SetLastError(ERROR_SUCCESS);
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result) &&
        GetLastError() == ERROR_TIMEOUT)
        hung = true;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    return std::wstring(name, static_cast<size_t>(GetClassNameW(window, name, 256)));
}

std::wstring TitleOf(HWND window) {
    wchar_t title[1024];
    return std::wstring(title, static_cast<size_t>(InternalGetWindowText(window, title, 1024)));
}

std::wstring TextOf(HWND window) {
    const auto length = Ask(window, WM_GETTEXTLENGTH);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(
        static_cast<size_t>(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Every top-level window, visible or not, topmost first.
std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> VisibleWindows() {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindows()) {
        const std::wstring name = ClassOf(window);
        // Not the Wine desktop's own.
        if (IsWindowVisible(window) && name != L"Shell_TrayWnd" && name != L"Progman" && name != L"#32769")
            visible.push_back(window);
    }
    return visible;
}

// The window WINDOW names: #HWND any window by its handle, else the first visible one of that title.
HWND FindOrFail(const std::wstring& which) {
    HWND window = nullptr;
    if (which.size() > 1 && which[0] == L'#') {
        window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(which.c_str() + 1, nullptr, 10)));
        if (!IsWindow(window)) window = nullptr;
    } else {
        const auto visible = VisibleWindows();
        const auto titled = std::ranges::find_if(visible, [&](HWND each) { return TitleOf(each) == which; });
        if (titled != visible.end()) window = *titled;
    }
    if (!window) throw Failure{kNotThere, L"no window " + which};
    return window;
}

// Polls until the condition holds or the time is up; whether it held.
template <typename Condition>
bool WaitFor(DWORD ms, Condition holds) {
    const DWORD start = GetTickCount();
    while (!holds()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(kPollMs);
    }
    return true;
}

std::wstring Describe(HWND window) {
    if (!window) return L"none";
    return L"'" + TitleOf(window) + L"' (" + ClassOf(window) + L", #" +
           std::to_wstring(reinterpret_cast<UINT_PTR>(window)) + L")";
}

// What a user would see when a state did not come: the window in front and every visible one.
std::wstring Seen() {
    std::wstring seen = L"in front: " + Describe(GetForegroundWindow()) + L"; visible:";
    for (HWND window : VisibleWindows())
        seen += L" " + Describe(window);
    return seen;
}

void WindowRecord(HWND window) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Record()
        .Add(L"hwnd", window)
        .Add(L"title", TitleOf(window))
        .Add(L"class", ClassOf(window))
        .Add(L"pid", ProcessOf(window))
        .Add(L"window", outer)
        .Add(L"client", client)
        .Add(L"style", GetWindowLongW(window, GWL_STYLE))
        .Add(L"exstyle", GetWindowLongW(window, GWL_EXSTYLE))
        .Add(L"owner", GetWindow(window, GW_OWNER))
        .Add(L"foreground", GetForegroundWindow() == window);
}

void ControlRecords(HWND parent, int depth, bool items) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        const std::wstring name = ClassOf(child);
        {
            Record record;
            record.Add(L"kind", L"control")
                .Add(L"depth", depth)
                .Add(L"hwnd", child)
                .Add(L"id", GetDlgCtrlID(child))
                .Add(L"class", name)
                .Add(L"text", TextOf(child))
                .Add(L"rect", rect)
                .Add(L"style", GetWindowLongW(child, GWL_STYLE))
                .Add(L"enabled", IsWindowEnabled(child) != FALSE);
            if (lstrcmpiW(name.c_str(), L"Button") == 0) record.Add(L"check", Ask(child, BM_GETCHECK));
            if (lstrcmpiW(name.c_str(), L"ComboBox") == 0) {
                std::wstring entries;
                const auto count = items ? Ask(child, CB_GETCOUNT) : 0;
                for (LRESULT i = 0; i < count; ++i) {
                    std::wstring item(static_cast<size_t>(Ask(child, CB_GETLBTEXTLEN, i)) + 1, L'\0');
                    item.resize(static_cast<size_t>(
                        Ask(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                    entries += (i ? L"\x1f" : L"") + item;
                }
                if (items) record.Add(L"items", entries);
                record.Add(L"cursel", Ask(child, CB_GETCURSEL));
            }
            if (hung) record.Add(L"hung", 1);
        }
        ControlRecords(child, depth + 1, items);
    }
}

// The window, then the control that has the focus in its thread, then its controls.
void Dump(HWND window, bool items) {
    WindowRecord(window);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    {
        Record focus; // written out before the controls' records
        focus.Add(L"kind", L"focus");
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
            focus.Add(L"hwnd", thread.hwndFocus)
                .Add(L"class", ClassOf(thread.hwndFocus))
                .Add(L"text", TextOf(thread.hwndFocus));
    }
    ControlRecords(window, 1, items);
}

BOOL CALLBACK MonitorRecord(HMONITOR monitor, HDC, LPRECT, LPARAM dpi) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        Record()
            .Add(L"window", info.rcMonitor)
            .Add(L"work", info.rcWork)
            .Add(L"primary", (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0)
            .Add(L"device", info.szDevice)
            .Add(L"dpi", static_cast<long long>(dpi));
    return TRUE;
}

// ----- acting -----
INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    const bool extended = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

WORD KeyNamed(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        WORD key;
    } kKeys[] = {{L"TAB", VK_TAB},       {L"ENTER", VK_RETURN}, {L"ESC", VK_ESCAPE}, {L"SPACE", VK_SPACE},
                 {L"UP", VK_UP},         {L"DOWN", VK_DOWN},    {L"LEFT", VK_LEFT},  {L"RIGHT", VK_RIGHT},
                 {L"HOME", VK_HOME},     {L"END", VK_END},      {L"BACK", VK_BACK},  {L"SHIFT", VK_SHIFT},
                 {L"CTRL", VK_CONTROL},  {L"ALT", VK_MENU},     {L"PGUP", VK_PRIOR}, {L"PGDN", VK_NEXT},
                 {L"DELETE", VK_DELETE}, {L"INSERT", VK_INSERT}};
    for (const auto& key : kKeys)
        if (name == key.name) return key.key;
    if (name.size() == 1 && std::iswalnum(name[0])) return static_cast<WORD>(std::towupper(name[0]));
    if (name.size() >= 2 && name[0] == L'F')
        return static_cast<WORD>(VK_F1 + std::wcstol(name.c_str() + 1, nullptr, 10) - 1);
    throw Failure{kUsage, L"unknown key " + name};
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Type(const std::wstring& step) {
    if (step.starts_with(L"text:")) {
        // In bursts of a few characters, as a fast typist gives them: a long text in seconds.
        std::vector<INPUT> burst;
        for (wchar_t c : step.substr(5)) {
            INPUT down{}, up{};
            down.type = up.type = INPUT_KEYBOARD;
            down.ki = {0, c, KEYEVENTF_UNICODE, 0, 0};
            up.ki = {0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, 0, 0};
            burst.insert(burst.end(), {down, up});
            if (burst.size() == 2 * kBurstChars) {
                Send(burst);
                burst.clear();
                Sleep(10);
            }
        }
        if (!burst.empty()) Send(burst);
        return;
    }
    std::vector<WORD> chord;
    for (size_t start = 0, plus; start <= step.size(); start = plus + 1) {
        plus = step.find(L'+', start);
        if (plus == std::wstring::npos) plus = step.size();
        chord.push_back(KeyNamed(step.substr(start, plus - start)));
    }
    std::vector<INPUT> inputs;
    for (WORD key : chord)
        inputs.push_back(Key(key, false));
    for (auto key = chord.rbegin(); key != chord.rend(); ++key)
        inputs.push_back(Key(*key, true));
    Send(inputs);
}

// The program's thread takes a message and answers it: it is not busy, nor stopped in a debugger.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

// The program has come to its message loop once since it started: Wine's WaitForInputIdle says no
// more than that, and Windows' not much more.
bool Idle(HWND window) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window));
    if (!process) return false;
    const bool idle = WaitForInputIdle(process, kStateMs) == 0;
    CloseHandle(process);
    return idle;
}

// Waits until the window's top-level window is the one in front and its program answers, asking
// for it to come to the front meanwhile, as a user's click on it would.
void BringToFront(HWND window, const wchar_t* action) {
    HWND root = GetAncestor(window, GA_ROOT);
    const bool ready = Idle(root) && WaitFor(kStateMs, [&] {
                           if (GetForegroundWindow() != root) SetForegroundWindow(root);
                           return GetForegroundWindow() == root && Answers(root);
                       });
    if (!ready)
        throw Failure{kNeverCame, std::wstring(action) + L": " + Describe(root) +
                                      L" did not come to the front answering; " + Seen()};
}

// Every event carries the position, in the middle of the pixel, on the whole desk: every monitor.
INPUT MouseAt(POINT point, DWORD button) {
    const long long x = point.x - GetSystemMetrics(SM_XVIRTUALSCREEN);
    const long long y = point.y - GetSystemMetrics(SM_YVIRTUALSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 2 + 1) * 65536LL / (2LL * GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    input.mi.dy = static_cast<LONG>((y * 2 + 1) * 65536LL / (2LL * GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    input.mi.dwFlags = button | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

// A click as a hand gives it: wherever the pointer is, whatever is in front.
void ClickHere(POINT point, int count = 1) {
    Send({MouseAt(point, 0)});
    Sleep(20);
    for (int i = 0; i < count; ++i) {
        Send({MouseAt(point, MOUSEEVENTF_LEFTDOWN)});
        Sleep(20);
        Send({MouseAt(point, MOUSEEVENTF_LEFTUP)});
        Sleep(40);
    }
}

void ClickAt(HWND window, HWND target, POINT point, int count) {
    BringToFront(window, L"click");
    Send({MouseAt(point, 0)});
    // Wine raises a window a little after it becomes the foreground one. The control itself may lie
    // below a group box, which lets clicks through to it.
    HWND root = GetAncestor(window, GA_ROOT), under = nullptr;
    const bool ready = WaitFor(kStateMs, [&] {
        under = WindowFromPoint(point);
        return GetAncestor(under, GA_ROOT) == root && GetForegroundWindow() == root &&
               IsWindowVisible(target) && IsWindowEnabled(target);
    });
    if (!ready)
        throw Failure{kNeverCame, L"click: " + Describe(target) +
                                      (IsWindowEnabled(target) ? L"" : L" disabled") +
                                      L"; under the pointer at " + std::to_wstring(point.x) + L"," +
                                      std::to_wstring(point.y) + L": " + Describe(under) + L"; " + Seen()};
    ClickHere(point, count);
    Record().Add(L"window", window).Add(L"x", point.x).Add(L"y", point.y);
}

HWND FindControl(HWND parent, const std::wstring& which) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = TextOf(child);
        std::erase(text, L'&');
        if (which[0] == L'#' ? GetDlgCtrlID(child) == std::wcstol(which.c_str() + 1, nullptr, 10)
                             : text == which)
            return child;
        if (HWND inside = FindControl(child, which)) return inside;
    }
    return nullptr;
}

// WM_DPICHANGED carries a pointer to the suggested window rectangle, which must be readable in the
// window's process. It is written there, and at the same address here, in case Wine copies it
// across from this process.
bool DpiChange(HWND window, int dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    HDC screen = GetDC(nullptr);
    const int from = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, dpi, from);
    suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, dpi, from);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(window));
    if (!process) return false;
    void* there =
        VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool placed = there && WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr);
    if (placed) {
        if (void* here = VirtualAlloc(there, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
            *static_cast<RECT*>(here) = suggested;
        DWORD_PTR result = 0;
        placed = SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                     reinterpret_cast<LPARAM>(there), SMTO_ABORTIFHUNG, 10000, &result) != 0;
    }
    CloseHandle(process);
    return placed;
}

// ----- the program as a whole, and the world around it -----
// Every top-level window of the process, visible or not, topmost first.
std::vector<HWND> WindowsOf(DWORD pid) {
    std::vector<HWND> found;
    for (HWND window : TopLevelWindows())
        if (ProcessOf(window) == pid) found.push_back(window);
    return found;
}

// The watch of the foreground: a thread of its own, which alone touches the samples until it is
// stopped and waited for.
struct ForegroundSample {
    DWORD ms;
    HWND window;
    std::wstring name;
};
struct {
    HANDLE thread = nullptr;
    std::atomic<bool> stop{false};
    DWORD start = 0, length = 0;
    std::vector<ForegroundSample> samples;
} watch;

DWORD WINAPI WatchForeground(void*) {
    for (DWORD now = GetTickCount(); !watch.stop && now - watch.start < watch.length; now = GetTickCount()) {
        if (HWND window = GetForegroundWindow(); window != watch.samples.back().window)
            watch.samples.push_back({now - watch.start, window, ClassOf(window)});
        Sleep(5);
    }
    return 0;
}

int Run(const std::wstring& command, const Strings& args) {
    const auto need = [&](size_t least) {
        if (args.size() < least) throw Failure{kUsage, L"too few arguments for " + command};
    };
    // The argument as a number, 0 where there is none; 0x… in hexadecimal. Read as unsigned, so that
    // a flag such as 0x80000000 keeps its bits; a negative number wraps back as it was.
    const auto number = [&](size_t i) {
        return i < args.size() ? static_cast<long>(std::wcstoul(args[i].c_str(), nullptr, 0)) : 0L;
    };
    if (command == L"windows") {
        for (HWND window : VisibleWindows())
            WindowRecord(window);
    } else if (command == L"dump") {
        need(1);
        Dump(FindOrFail(args[0]), args.size() > 1 && args[1] == L"items");
    } else if (command == L"keys") {
        need(2);
        if (args[0] != L"-") BringToFront(FindOrFail(args[0]), L"keys");
        for (size_t i = 1; i < args.size(); ++i) {
            Type(args[i]);
            Sleep(kStepMs);
        }
        Record().Add(L"foreground", GetForegroundWindow());
    } else if (command == L"click-control") {
        need(2);
        HWND window = FindOrFail(args[0]);
        HWND control = FindControl(window, args[1]);
        if (!control) throw Failure{kNotThere, L"no control " + args[1] + L" in " + Describe(window)};
        RECT rect{};
        GetWindowRect(control, &rect);
        const int count = args.size() > 2 ? std::max(1, static_cast<int>(number(2))) : 1;
        ClickAt(window, control, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, count);
    } else if (command == L"post" || command == L"send" || command == L"post-all" || command == L"send-all") {
        need(2);
        HWND window = FindOrFail(args[0]);
        const bool all = command.ends_with(L"-all");
        const UINT message = static_cast<UINT>(number(1));
        const auto wParam = static_cast<WPARAM>(number(2));
        const auto lParam = static_cast<LPARAM>(number(3));
        for (HWND each : all ? WindowsOf(ProcessOf(window)) : std::vector<HWND>{window}) {
            const DWORD sent = GetTickCount(); // the clock of Wine's trace time stamps
            if (command.starts_with(L"post")) {
                if (!PostMessageW(each, message, wParam, lParam) && (!all || IsWindow(each)))
                    throw Failure{kNotThere, L"post: " + std::to_wstring(GetLastError())};
                Record().Add(L"hwnd", each).Add(L"sent", static_cast<long long>(sent));
                continue;
            }
            // A busy program reads a sent message whenever it looks at its queue.
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(each, message, wParam, lParam, SMTO_NORMAL, kStateMs, &result)) {
                if (all && !IsWindow(each)) continue;
                if (!IsWindow(each)) throw Failure{kNotThere, L"send: the window went before it answered"};
                throw Failure{kNeverCame, L"send: no answer in " + std::to_wstring(kStateMs) + L" ms"};
            }
            Record()
                .Add(L"hwnd", each)
                .Add(L"result", static_cast<long long>(result))
                .Add(L"sent", static_cast<long long>(sent))
                .Add(L"answered", static_cast<long long>(GetTickCount()));
        }
    } else if (command == L"display-mode") {
        need(2);
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = number(0);
        mode.dmPelsHeight = number(1);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
        if (result != DISP_CHANGE_SUCCESSFUL)
            throw Failure{kNotThere, L"ChangeDisplaySettingsExW: " + std::to_wstring(result)};
        Record().Add(L"w", GetSystemMetrics(SM_CXSCREEN)).Add(L"h", GetSystemMetrics(SM_CYSCREEN));
    } else if (command == L"raise") {
        need(1);
        BringToFront(FindOrFail(args[0]), L"raise");
        Record().Add(L"foreground", GetForegroundWindow());
    } else if (command == L"start-at") {
        need(3);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USEPOSITION;
        startup.dwX = number(0);
        startup.dwY = number(1);
        std::wstring line = L"\"" + args[2] + L"\"";
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            throw Failure{kNotThere, L"CreateProcessW: " + std::to_wstring(GetLastError())};
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        Record().Add(L"pid", process.dwProcessId);
    } else if (command == L"dpi-change") {
        need(2);
        HWND window = FindOrFail(args[0]);
        const int dpi = number(1);
        if (!DpiChange(window, dpi))
            throw Failure{kNotThere, L"the suggested rectangle could not be placed in the program"};
        Record().Add(L"dpi", dpi);
    } else if (command == L"watch-foreground") {
        need(1);
        if (watch.thread) throw Failure{kUsage, L"already watching"};
        watch.length = number(0);
        watch.start = GetTickCount();
        watch.samples = {{0, GetForegroundWindow(), ClassOf(GetForegroundWindow())}};
        watch.stop = false;
        watch.thread = CreateThread(nullptr, 0, WatchForeground, nullptr, 0, nullptr);
        if (!watch.thread) throw Failure{kNotThere, L"CreateThread: " + std::to_wstring(GetLastError())};
        Record().Add(L"watching", 1);
    } else if (command == L"watched") {
        if (!watch.thread) throw Failure{kUsage, L"not watching"};
        watch.stop = true;
        WaitForSingleObject(watch.thread, INFINITE);
        CloseHandle(watch.thread);
        watch.thread = nullptr;
        for (const auto& sample : watch.samples)
            Record().Add(L"ms", sample.ms).Add(L"hwnd", sample.window).Add(L"class", sample.name);
    } else if (command == L"move") {
        need(3);
        // As a drag of its title bar would leave it.
        if (!SetWindowPos(FindOrFail(args[0]), nullptr, number(1), number(2), 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER))
            throw Failure{kNotThere, L"SetWindowPos: " + std::to_wstring(GetLastError())};
        WindowRecord(FindOrFail(args[0]));
    } else if (command == L"click-at" || command == L"drag") {
        need(2);
        const POINT point{number(0), number(1)};
        HWND under = WindowFromPoint(point), root = GetAncestor(under, GA_ROOT);
        std::wstring text = TextOf(under);
        std::erase(text, L'&');
        // What the press lands on, read before it is given.
        Record()
            .Add(L"root", root)
            .Add(L"control", under)
            .Add(L"text", text)
            .Add(L"hit", Ask(root, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)));
        if (command == L"click-at") {
            ClickHere(point, std::max(1L, number(2)));
        } else {
            // The button held down over four moves, as a hand drags.
            const POINT by{number(2), number(3)};
            Send({MouseAt(point, 0)});
            Send({MouseAt(point, MOUSEEVENTF_LEFTDOWN)});
            for (int part = 1; part <= 4; ++part) {
                Sleep(20);
                Send({MouseAt({point.x + by.x * part / 4, point.y + by.y * part / 4}, 0)});
            }
            Send({MouseAt({point.x + by.x, point.y + by.y}, MOUSEEVENTF_LEFTUP)});
        }
    } else if (command == L"processes") {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) throw Failure{kNotThere, L"CreateToolhelp32Snapshot"};
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            Record().Add(L"pid", static_cast<long long>(entry.th32ProcessID)).Add(L"exe", entry.szExeFile);
        CloseHandle(snapshot);
    } else if (command == L"monitors") {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX); // Wine's one DPI for the whole desk
        ReleaseDC(nullptr, screen);
        EnumDisplayMonitors(nullptr, nullptr, MonitorRecord, dpi);
    } else if (command == L"text-size") {
        need(4);
        HDC screen = GetDC(nullptr);
        LOGFONTW design{};
        design.lfHeight = -MulDiv(number(1), GetDeviceCaps(screen, LOGPIXELSY), 72);
        design.lfWeight = FW_NORMAL;
        design.lfCharSet = static_cast<BYTE>(number(2));
        lstrcpynW(design.lfFaceName, args[0].c_str(), LF_FACESIZE);
        HFONT font = CreateFontIndirectW(&design);
        HGDIOBJ previous = SelectObject(screen, font);
        SIZE size{};
        GetTextExtentPoint32W(screen, args[3].c_str(), static_cast<int>(args[3].size()), &size);
        SelectObject(screen, previous);
        DeleteObject(font);
        ReleaseDC(nullptr, screen);
        Record().Add(L"w", size.cx).Add(L"h", size.cy);
    } else {
        throw Failure{kUsage, L"unknown command " + command};
    }
    return 0;
}

// Runs one command line (the command, then its arguments) and ends its answer.
int Answer(const Strings& words) {
    int code = kUsage;
    hung = false;
    try {
        if (words.empty()) throw Failure{kUsage, L"no command"};
        code = Run(words[0], Strings(words.begin() + 1, words.end()));
    } catch (const Failure& failure) {
        Record().Add(L"error", failure.message);
        code = failure.code;
    }
    Record().Add(L"end", code);
    return code;
}

// A line of standard input as a command line: words separated by tabs, escaped as the records'
// values are.
Strings WordsOf(const std::string& line) {
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, line.data(),
                                                              static_cast<int>(line.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), text.data(),
                        static_cast<int>(text.size()));
    Strings words(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\t') {
            words.emplace_back();
        } else if (text[i] == L'\\' && i + 1 < text.size()) {
            const wchar_t next = text[++i];
            const size_t escaped = kEscaped.find(next);
            words.back() += escaped == std::wstring_view::npos ? next : kSpecial[escaped];
        } else {
            words.back() += text[i];
        }
    }
    return words;
}

// `serve`: one command a line from standard input, until it ends, each answered as on a command
// line. A Wine process takes a tenth of a second of a core to start; the tests ask some hundreds
// of questions a run.
int Serve() {
    Record().Add(L"serving", 1);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
            Answer(WordsOf(pending.substr(0, end)));
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    SetProcessDPIAware(); // the tests see the pixels the screen has
    if (argc == 2 && std::wstring(argv[1]) == L"serve") return Serve();
    return Answer(Strings(argv + 1, argv + argc));
}
