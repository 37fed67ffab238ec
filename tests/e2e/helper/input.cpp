#include "input.hpp"

#include "handles.hpp"
#include "text.hpp"

#include <array>
#include <string_view>

namespace {

constexpr DWORD kPauseBetweenStepsMs = 60;
constexpr DWORD kPauseBetweenCharactersMs = 10;
constexpr DWORD kButtonHoldMs = 20;
constexpr DWORD kPauseBetweenClicksMs = 40;
constexpr DWORD kForegroundSettleMs = 500;
constexpr DWORD kIdleWaitMs = 1000;

struct NamedKey {
    std::wstring_view name;
    WORD vk;
};

constexpr std::array kNamedKeys{
    NamedKey{L"TAB", VK_TAB},       NamedKey{L"ENTER", VK_RETURN},    NamedKey{L"RETURN", VK_RETURN},
    NamedKey{L"ESC", VK_ESCAPE},    NamedKey{L"ESCAPE", VK_ESCAPE},   NamedKey{L"SPACE", VK_SPACE},
    NamedKey{L"UP", VK_UP},         NamedKey{L"DOWN", VK_DOWN},       NamedKey{L"LEFT", VK_LEFT},
    NamedKey{L"RIGHT", VK_RIGHT},   NamedKey{L"HOME", VK_HOME},       NamedKey{L"END", VK_END},
    NamedKey{L"BACK", VK_BACK},     NamedKey{L"BACKSPACE", VK_BACK},  NamedKey{L"DELETE", VK_DELETE},
    NamedKey{L"DEL", VK_DELETE},    NamedKey{L"INSERT", VK_INSERT},   NamedKey{L"INS", VK_INSERT},
    NamedKey{L"PGUP", VK_PRIOR},    NamedKey{L"PAGEUP", VK_PRIOR},    NamedKey{L"PGDN", VK_NEXT},
    NamedKey{L"PAGEDOWN", VK_NEXT}, NamedKey{L"APPS", VK_APPS},       NamedKey{L"SHIFT", VK_SHIFT},
    NamedKey{L"CTRL", VK_CONTROL},  NamedKey{L"CONTROL", VK_CONTROL}, NamedKey{L"ALT", VK_MENU},
    NamedKey{L"WIN", VK_LWIN},
};

bool isModifier(WORD vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LWIN;
}

// These keys sit on the extended part of the keyboard; without the flag arrows arrive as numpad keys.
bool isExtended(WORD vk) {
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_APPS:
    case VK_LWIN:
        return true;
    default:
        return false;
    }
}

std::optional<unsigned> parseCount(std::wstring_view text) {
    const auto value = parseInteger(text);
    if (!value || *value < 0 || *value > 100000) return std::nullopt;
    return static_cast<unsigned>(*value);
}

std::optional<WORD> keyByName(std::wstring_view name) {
    for (const auto& named : kNamedKeys) {
        if (equalsIgnoreCase(named.name, name)) return named.vk;
    }
    if (name.size() == 1) {
        const wchar_t c = name.front();
        if (c >= L'0' && c <= L'9') return static_cast<WORD>(c);
        if (c >= L'A' && c <= L'Z') return static_cast<WORD>(c);
        if (c >= L'a' && c <= L'z') return static_cast<WORD>(c - L'a' + L'A');
    }
    if (name.size() >= 2 && (name.front() == L'F' || name.front() == L'f')) {
        const auto number = parseInteger(name.substr(1));
        if (number && *number >= 1 && *number <= 24) return static_cast<WORD>(VK_F1 + *number - 1);
    }
    return std::nullopt;
}

std::optional<KeyStep> parseChord(std::wstring_view chord, std::wstring& error) {
    KeyStep step;
    while (true) {
        const size_t plus = chord.find(L'+');
        const std::wstring_view part = chord.substr(0, plus);
        const auto vk = keyByName(part);
        if (!vk) {
            error = L"unknown key '" + std::wstring(part) + L"'";
            return std::nullopt;
        }
        if (plus == std::wstring_view::npos) {
            step.key = *vk;
            return step;
        }
        if (!isModifier(*vk)) {
            error = L"'" + std::wstring(part) + L"' is not a modifier";
            return std::nullopt;
        }
        step.modifiers.push_back(*vk);
        chord.remove_prefix(plus + 1);
    }
}

INPUT keyInput(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void send(std::vector<INPUT>& inputs) {
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void sendChord(const KeyStep& step) {
    std::vector<INPUT> inputs;
    for (WORD modifier : step.modifiers)
        inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(step.key, false));
    inputs.push_back(keyInput(step.key, true));
    for (auto it = step.modifiers.rbegin(); it != step.modifiers.rend(); ++it)
        inputs.push_back(keyInput(*it, true));
    send(inputs);
}

void sendText(const std::wstring& text) {
    for (wchar_t unit : text) {
        std::vector<INPUT> inputs(2);
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = unit;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        send(inputs);
        Sleep(kPauseBetweenCharactersMs);
    }
}

INPUT mouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// Maps to the middle of the pixel, so rounding either way in the system lands on it.
LONG normalise(LONG pixel, LONG origin, LONG extent) {
    if (extent <= 0) return 0;
    const long long scaled = ((static_cast<long long>(pixel - origin) * 2 + 1) * 65536) / (2LL * extent);
    return static_cast<LONG>(scaled < 0 ? 0 : (scaled > 65535 ? 65535 : scaled));
}

} // namespace

std::optional<KeyStep> parseKeyStep(const std::wstring& token, std::wstring& error) {
    const std::wstring_view view(token);
    if (view.starts_with(L"text:")) {
        KeyStep step;
        step.kind = KeyStep::Kind::Text;
        step.text = view.substr(5);
        return step;
    }
    if (view.starts_with(L"sleep:")) {
        const auto ms = parseCount(view.substr(6));
        if (!ms) {
            error = L"bad sleep '" + token + L"'";
            return std::nullopt;
        }
        KeyStep step;
        step.kind = KeyStep::Kind::Sleep;
        step.sleepMs = *ms;
        return step;
    }
    if (view.starts_with(L"repeat:")) {
        const std::wstring_view rest = view.substr(7);
        const size_t colon = rest.find(L':');
        const auto count =
            colon == std::wstring_view::npos ? std::nullopt : parseCount(rest.substr(0, colon));
        if (!count) {
            error = L"bad repeat '" + token + L"', expected repeat:N:KEY";
            return std::nullopt;
        }
        auto step = parseChord(rest.substr(colon + 1), error);
        if (step) step->repeat = *count;
        return step;
    }
    return parseChord(view, error);
}

void sendKeySteps(const std::vector<KeyStep>& steps) {
    for (const KeyStep& step : steps) {
        switch (step.kind) {
        case KeyStep::Kind::Sleep:
            Sleep(step.sleepMs);
            continue;
        case KeyStep::Kind::Text:
            sendText(step.text);
            break;
        case KeyStep::Kind::Chord:
            for (unsigned i = 0; i < step.repeat; ++i) {
                sendChord(step);
                if (i + 1 < step.repeat) Sleep(kPauseBetweenStepsMs);
            }
            break;
        }
        Sleep(kPauseBetweenStepsMs);
    }
}

bool bringToForeground(HWND hwnd) {
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    const auto waitFor = [hwnd] {
        for (DWORD waited = 0; waited < kForegroundSettleMs; waited += 25) {
            if (GetForegroundWindow() == hwnd) return true;
            Sleep(25);
        }
        return GetForegroundWindow() == hwnd;
    };
    if (GetForegroundWindow() == hwnd) return true;
    SetForegroundWindow(hwnd);
    if (waitFor()) return true;

    // Sharing input state with the current foreground thread lifts the foreground lock.
    const DWORD ours = GetCurrentThreadId();
    const HWND current = GetForegroundWindow();
    const DWORD theirs = current ? GetWindowThreadProcessId(current, nullptr) : 0;
    const DWORD target = GetWindowThreadProcessId(hwnd, nullptr);
    {
        const AttachedInput withForeground(ours, theirs ? theirs : ours);
        const AttachedInput withTarget(ours, target != theirs ? target : ours);
        BringWindowToTop(hwnd);
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
    }
    return waitFor();
}

void waitUntilIdle(HWND window) {
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid)) return;
    const KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (process.get()) WaitForInputIdle(process.get(), kIdleWaitMs);
}

void clickAt(POINT screen, int count) {
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const LONG top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const LONG height = GetSystemMetrics(SM_CYVIRTUALSCREEN);

    // Every event carries the position: Wine takes a bare button event's position from a cursor
    // that an injected move has not necessarily updated yet.
    const auto at = [&](DWORD button) {
        INPUT input = mouseInput(button | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK);
        input.mi.dx = normalise(screen.x, left, width);
        input.mi.dy = normalise(screen.y, top, height);
        return std::vector<INPUT>{input};
    };
    auto move = at(0);
    send(move);
    Sleep(kPauseBetweenStepsMs);

    for (int i = 0; i < count; ++i) {
        auto down = at(MOUSEEVENTF_LEFTDOWN);
        send(down);
        Sleep(kButtonHoldMs);
        auto up = at(MOUSEEVENTF_LEFTUP);
        send(up);
        if (i + 1 < count) Sleep(kPauseBetweenClicksMs);
    }
    Sleep(kPauseBetweenStepsMs);
}
