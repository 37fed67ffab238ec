#include "commands.hpp"

#include "details.hpp"
#include "handles.hpp"
#include "input.hpp"
#include "json_writer.hpp"
#include "text.hpp"
#include "window_info.hpp"

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr DWORD kPollMs = 50;
constexpr int kMaxClicks = 10;
constexpr DWORD kRaiseWaitMs = 500;

using Args = std::vector<std::wstring>;

void expectCount(const Args& args, size_t least, size_t most, const wchar_t* usage) {
    if (args.size() < least || args.size() > most) throw UsageError{std::wstring(L"expected: ") + usage};
}

long long integerArg(const std::wstring& text, const wchar_t* what) {
    const auto value = parseInteger(text);
    if (!value) throw UsageError{std::wstring(what) + L" is not a number: '" + text + L"'"};
    return *value;
}

DWORD millisecondsArg(const std::wstring& text) {
    const long long value = integerArg(text, L"MS");
    if (value < 0 || value > 24LL * 3600 * 1000) throw UsageError{L"MS out of range: '" + text + L"'"};
    return static_cast<DWORD>(value);
}

int clickCountArg(const Args& args, size_t index) {
    if (args.size() <= index) return 1;
    const long long count = integerArg(args[index], L"COUNT");
    if (count < 1 || count > kMaxClicks) throw UsageError{L"COUNT must be 1 to 10"};
    return static_cast<int>(count);
}

ExitCode notFound(JsonWriter& json, const std::wstring& what) {
    json.beginObject().field("error", L"no window " + what).endObject();
    return kNotMet;
}

// Commands that act on a window accept "#HWND" for any existing window, else an exact visible title.
HWND resolveWindow(const std::wstring& argument) {
    const WindowQuery query = titleOrHandle(argument);
    if (query.kind == WindowQuery::Kind::Handle) return IsWindow(query.hwnd) ? query.hwnd : nullptr;
    return findWindow(query);
}

void writeWindowObject(JsonWriter& json, HWND hwnd) {
    json.beginObject();
    writeWindowFields(json, hwnd);
    json.endObject();
}

void writePoint(JsonWriter& json, std::string_view name, POINT point) {
    json.key(name).beginObject().field("x", point.x).field("y", point.y).endObject();
}

ExitCode listWindows(const Args& args, JsonWriter& json) {
    expectCount(args, 0, 0, L"windows");
    json.beginArray();
    for (HWND hwnd : listedWindows())
        writeWindowObject(json, hwnd);
    json.endArray();
    return kSuccess;
}

ExitCode waitFor(const WindowQuery& query, DWORD timeoutMs, bool untilGone, JsonWriter& json) {
    const ULONGLONG start = GetTickCount64();
    while (true) {
        const HWND hwnd = findWindow(query);
        const ULONGLONG waited = GetTickCount64() - start;
        if (!untilGone && hwnd) {
            writeWindowObject(json, hwnd);
            return kSuccess;
        }
        if (untilGone && !hwnd) {
            json.beginObject().field("gone", true).field("waited_ms", waited).endObject();
            return kSuccess;
        }
        if (waited >= timeoutMs) {
            json.beginObject();
            json.field("error", untilGone ? "window still there" : "timed out waiting for window");
            json.field("waited_ms", waited);
            if (hwnd) json.field("hwnd", hwndNumber(hwnd));
            json.endObject();
            return kNotMet;
        }
        Sleep(kPollMs);
    }
}

ExitCode waitTitle(const Args& args, JsonWriter& json) {
    expectCount(args, 2, 2, L"wait TITLE MS");
    return waitFor(titleOrHandle(args[0]), millisecondsArg(args[1]), false, json);
}

ExitCode waitClass(const Args& args, JsonWriter& json) {
    expectCount(args, 2, 2, L"wait-class CLASS MS");
    return waitFor(classQuery(args[0]), millisecondsArg(args[1]), false, json);
}

ExitCode gone(const Args& args, JsonWriter& json) {
    expectCount(args, 2, 2, L"gone TITLE MS");
    return waitFor(titleOrHandle(args[0]), millisecondsArg(args[1]), true, json);
}

ExitCode dump(const Args& args, JsonWriter& json) {
    expectCount(args, 1, 1, L"dump TITLE|#HWND");
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    bool hung = false;
    json.beginObject();
    writeWindowFields(json, hwnd);
    json.field("dpi", windowDpi(hwnd));
    json.key("font");
    writeFontValue(json, hwnd, hung);
    json.key("focus");
    writeFocusValue(json, hwnd);
    json.key("children");
    writeChildrenValue(json, hwnd);
    // Said once at the top as well, so a caller need not search the tree to learn it.
    if (hung || threadHung(GetWindowThreadProcessId(hwnd, nullptr))) json.field("hung", true);
    json.endObject();
    return kSuccess;
}

ExitCode focus(const Args& args, JsonWriter& json) {
    expectCount(args, 1, 1, L"focus TITLE|#HWND");
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    writeFocusValue(json, hwnd);
    return kSuccess;
}

ExitCode keys(const Args& args, JsonWriter& json) {
    if (args.size() < 2) throw UsageError{L"expected: keys TITLE|#HWND|- KEY..."};
    std::vector<KeyStep> steps;
    for (size_t i = 1; i < args.size(); ++i) {
        std::wstring error;
        auto step = parseKeyStep(args[i], error);
        if (!step) throw UsageError{error};
        steps.push_back(std::move(*step));
    }
    HWND target = nullptr;
    if (args[0] != L"-") {
        target = resolveWindow(args[0]);
        if (!target) return notFound(json, args[0]);
        if (!bringToForeground(target)) {
            json.beginObject().field("error", "could not bring the window to the foreground");
            json.field("window", hwndNumber(target)).field("foreground", hwndNumber(GetForegroundWindow()));
            json.endObject();
            return kNotMet;
        }
    }
    sendKeySteps(steps);
    waitUntilIdle(target ? target : GetForegroundWindow());
    json.beginObject();
    json.field("window", hwndNumber(target));
    json.field("foreground", hwndNumber(GetForegroundWindow()));
    json.field("steps", steps.size());
    json.endObject();
    return kSuccess;
}

ExitCode clickScreenPoint(HWND window, POINT screen, int count, JsonWriter& json) {
    const bool foreground = bringToForeground(window);
    // Wine raises a window a little after it becomes the foreground one; clicking before that
    // would hit whatever covered it.
    HWND hit = WindowFromPoint(screen);
    for (DWORD waited = 0; GetAncestor(hit, GA_ROOT) != GetAncestor(window, GA_ROOT) && waited < kRaiseWaitMs;
         waited += kPollMs / 2) {
        Sleep(kPollMs / 2);
        hit = WindowFromPoint(screen);
    }
    clickAt(screen, count);
    waitUntilIdle(window);
    POINT cursor{};
    GetCursorPos(&cursor);
    json.field("window", hwndNumber(window));
    writePoint(json, "screen", screen);
    writePoint(json, "cursor", cursor);
    json.field("hit", hwndNumber(hit));
    json.field("count", count);
    json.field("foreground", foreground);
    return kSuccess;
}

ExitCode click(const Args& args, JsonWriter& json) {
    expectCount(args, 3, 4, L"click TITLE|#HWND X Y [COUNT]");
    POINT point{static_cast<LONG>(integerArg(args[1], L"X")), static_cast<LONG>(integerArg(args[2], L"Y"))};
    const int count = clickCountArg(args, 3);
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    ClientToScreen(hwnd, &point);
    json.beginObject();
    const ExitCode result = clickScreenPoint(hwnd, point, count, json);
    json.endObject();
    return result;
}

ExitCode clickControl(const Args& args, JsonWriter& json) {
    expectCount(args, 2, 3, L"click-control TITLE|#HWND #ID|TEXT [COUNT]");
    const int count = clickCountArg(args, 2);
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    const HWND control = findControl(hwnd, args[1]);
    if (!control) {
        json.beginObject().field("error", L"no control " + args[1]).field("window", hwndNumber(hwnd));
        json.endObject();
        return kNotMet;
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    const POINT centre{rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
    bool hung = false;
    json.beginObject();
    json.key("control").beginObject();
    json.field("hwnd", hwndNumber(control)).field("id", GetDlgCtrlID(control));
    json.field("class", className(control)).field("text", controlText(control, hung));
    json.endObject();
    const ExitCode result = clickScreenPoint(hwnd, centre, count, json);
    json.endObject();
    return result;
}

ExitCode postTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, JsonWriter& json) {
    const bool posted = PostMessageW(hwnd, message, wParam, lParam) != FALSE;
    json.beginObject().field("window", hwndNumber(hwnd)).field("posted", posted).endObject();
    return posted ? kSuccess : kNotMet;
}

ExitCode close(const Args& args, JsonWriter& json) {
    expectCount(args, 1, 1, L"close TITLE|#HWND");
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    return postTo(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0, json);
}

ExitCode post(const Args& args, JsonWriter& json) {
    expectCount(args, 4, 4, L"post TITLE|#HWND MSG WPARAM LPARAM");
    const auto message = static_cast<UINT>(integerArg(args[1], L"MSG"));
    const auto wParam = static_cast<WPARAM>(integerArg(args[2], L"WPARAM"));
    const auto lParam = static_cast<LPARAM>(integerArg(args[3], L"LPARAM"));
    const HWND hwnd = resolveWindow(args[0]);
    if (!hwnd) return notFound(json, args[0]);
    return postTo(hwnd, message, wParam, lParam, json);
}

ExitCode screen(const Args& args, JsonWriter& json) {
    expectCount(args, 0, 0, L"screen");
    const WindowDc dc(nullptr);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT virtualScreen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                             GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    json.beginObject();
    json.field("w", GetSystemMetrics(SM_CXSCREEN)).field("h", GetSystemMetrics(SM_CYSCREEN));
    writeRect(json, "virtual", virtualScreen);
    json.field("dpi", dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0);
    writeRect(json, "work", work);
    json.endObject();
    return kSuccess;
}

ExitCode pixel(const Args& args, JsonWriter& json) {
    expectCount(args, 2, 2, L"pixel X Y");
    const auto x = static_cast<int>(integerArg(args[0], L"X"));
    const auto y = static_cast<int>(integerArg(args[1], L"Y"));
    const WindowDc dc(nullptr);
    const COLORREF colour = dc.get() ? GetPixel(dc.get(), x, y) : CLR_INVALID;
    json.beginObject().field("x", x).field("y", y);
    if (colour == CLR_INVALID) {
        json.field("error", "pixel not readable").endObject();
        return kNotMet;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    json.field("color", std::string_view(hex)).endObject();
    return kSuccess;
}

} // namespace

ExitCode runCommand(const std::wstring& name, const std::vector<std::wstring>& args, JsonWriter& json) {
    using Handler = std::function<ExitCode(const Args&, JsonWriter&)>;
    static const std::map<std::wstring, Handler> handlers{
        {L"windows", listWindows}, {L"wait", waitTitle}, {L"wait-class", waitClass},
        {L"gone", gone},           {L"dump", dump},      {L"focus", focus},
        {L"keys", keys},           {L"click", click},    {L"click-control", clickControl},
        {L"close", close},         {L"post", post},      {L"screen", screen},
        {L"pixel", pixel},
    };
    const auto handler = handlers.find(name);
    if (handler == handlers.end()) throw UsageError{L"unknown command '" + name + L"'"};
    return handler->second(args, json);
}
