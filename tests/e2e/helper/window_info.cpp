#include "window_info.hpp"

#include "json_writer.hpp"
#include "text.hpp"

#include <algorithm>
#include <iterator>
#include <set>

namespace {

constexpr UINT kSendTimeoutMs = 2000;

std::set<DWORD>& hungThreads() {
    static std::set<DWORD> threads;
    return threads;
}

bool isShellClass(std::wstring_view name) {
    return name == L"Shell_TrayWnd" || name == L"Progman" || name == L"#32769";
}

bool matches(HWND hwnd, const WindowQuery& query) {
    switch (query.kind) {
    case WindowQuery::Kind::Title:
        return caption(hwnd) == query.text;
    case WindowQuery::Kind::Class:
        return equalsIgnoreCase(className(hwnd), query.text);
    case WindowQuery::Kind::Handle:
        return hwnd == query.hwnd;
    }
    return false;
}

// A named function: 32-bit callbacks need the stdcall convention, which a lambda cannot carry.
BOOL CALLBACK collectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

} // namespace

std::optional<LRESULT> sendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& hung) {
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (hungThreads().contains(thread)) {
        hung = true;
        return std::nullopt;
    }
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) == 0) {
        // Other failures (a window that vanished, a message Wine cannot carry between processes)
        // say nothing about the target being frozen.
        if (GetLastError() == ERROR_TIMEOUT) {
            hung = true;
            hungThreads().insert(thread);
        }
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

bool threadHung(DWORD thread) {
    return hungThreads().contains(thread);
}

std::wstring controlText(HWND hwnd, bool& hung) {
    const auto length = sendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0, hung);
    if (!length || *length <= 0) return {};
    std::wstring buffer(static_cast<size_t>(*length) + 1, L'\0');
    const auto copied =
        sendMessage(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), hung);
    if (!copied) return {};
    buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(*copied, 0, *length)));
    return buffer;
}

std::wstring className(HWND hwnd) {
    wchar_t buffer[256];
    const int length = GetClassNameW(hwnd, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

std::wstring caption(HWND hwnd) {
    std::wstring buffer(256, L'\0');
    while (true) {
        const int copied = InternalGetWindowText(hwnd, buffer.data(), static_cast<int>(buffer.size()));
        if (copied < static_cast<int>(buffer.size()) - 1) {
            buffer.resize(static_cast<size_t>(std::max(copied, 0)));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::int64_t hwndNumber(HWND hwnd) {
    return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(hwnd));
}

WindowQuery titleOrHandle(std::wstring_view argument) {
    WindowQuery query;
    const bool digitsOnly =
        argument.size() > 1 &&
        std::all_of(argument.begin() + 1, argument.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (argument.starts_with(L'#') && digitsOnly) {
        if (const auto number = parseInteger(argument.substr(1))) {
            query.kind = WindowQuery::Kind::Handle;
            query.hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*number));
            return query;
        }
    }
    query.text = argument;
    return query;
}

WindowQuery classQuery(std::wstring_view argument) {
    WindowQuery query;
    query.kind = WindowQuery::Kind::Class;
    query.text = argument;
    return query;
}

std::vector<HWND> listedWindows() {
    std::vector<HWND> all;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> listed;
    for (HWND hwnd : all) {
        if (IsWindowVisible(hwnd) && !isShellClass(className(hwnd))) listed.push_back(hwnd);
    }
    return listed;
}

HWND findWindow(const WindowQuery& query) {
    // A handle may name any window, a child too, but it still has to be shown to count as there.
    if (query.kind == WindowQuery::Kind::Handle)
        return IsWindow(query.hwnd) && IsWindowVisible(query.hwnd) ? query.hwnd : nullptr;
    for (HWND hwnd : listedWindows()) {
        if (matches(hwnd, query)) return hwnd;
    }
    return nullptr;
}

void writeRect(JsonWriter& json, std::string_view name, const RECT& rect) {
    json.key(name).beginObject();
    json.field("x", rect.left).field("y", rect.top);
    json.field("w", rect.right - rect.left).field("h", rect.bottom - rect.top);
    json.endObject();
}

void writeWindowFields(JsonWriter& json, HWND hwnd) {
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    json.field("hwnd", hwndNumber(hwnd));
    json.field("title", caption(hwnd));
    json.field("class", className(hwnd));
    json.field("pid", pid).field("tid", tid);

    RECT window{};
    GetWindowRect(hwnd, &window);
    writeRect(json, "window", window);

    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&client, origin.x, origin.y);
    writeRect(json, "client", client);

    json.field("style", static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)));
    json.field("exstyle", static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    json.field("visible", IsWindowVisible(hwnd) != FALSE);
    json.field("enabled", IsWindowEnabled(hwnd) != FALSE);
    json.field("owner", hwndNumber(GetWindow(hwnd, GW_OWNER)));
    json.field("foreground", GetForegroundWindow() == hwnd);
}
