// A throwaway window whose every reaction to input shows up in its own status line, so the
// helper can be checked from outside with nothing but what the helper itself reports.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace {

constexpr wchar_t kClassName[] = L"E2eSelftestTarget";
constexpr wchar_t kTitle[] = L"Tajné okno zkoušky";
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 320;

enum ControlId : int {
    kRemember = 101,
    kChoice = 102,
    kApply = 103,
    kMessage = 104,
    kIcon = 105,
    kStatus = 106,
    kQuoted = 107,
    kFreeze = 108,
};

// Painted so a screen read-back has something unmistakable to find.
constexpr RECT kRedPatch{300, 200, 380, 260};

struct State {
    HFONT font = nullptr;
    HFONT boldFont = nullptr;
    HWND lastFocus = nullptr;
    int downs = 0;
    int doubles = 0;
    POINT at{-1, -1};
    int applies = 0;
};

State state;

void updateStatus(HWND window) {
    wchar_t text[160];
    std::swprintf(text, std::size(text), L"pid=%lu down=%d dbl=%d at=%ld,%ld apply=%d", GetCurrentProcessId(),
                  state.downs, state.doubles, state.at.x, state.at.y, state.applies);
    SetDlgItemTextW(window, kStatus, text);
}

HWND addControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT r, int id) {
    HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right,
                                   r.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    return control;
}

void createControls(HWND window) {
    state.font =
        CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    state.boldFont =
        CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");

    addControl(window, L"Button", L"Zapamatovat si volbu", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
               {20, 20, 220, 24}, kRemember);
    HWND combo = addControl(window, L"ComboBox", L"", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,
                            {20, 56, 220, 200}, kChoice);
    for (const wchar_t* item : {L"První", L"Druhá", L"Třetí"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    HWND apply =
        addControl(window, L"Button", L"Použít", BS_PUSHBUTTON | WS_TABSTOP, {20, 100, 100, 28}, kApply);
    SendMessageW(apply, WM_SETFONT, reinterpret_cast<WPARAM>(state.boldFont), FALSE);
    addControl(window, L"Button", L"&Zpráva", BS_PUSHBUTTON | WS_TABSTOP, {130, 100, 100, 28}, kMessage);
    HWND icon = addControl(window, L"Static", L"", SS_ICON, {260, 20, 0, 0}, kIcon);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
    addControl(window, L"Static", L"", SS_LEFT, {20, 140, 440, 20}, kStatus);
    addControl(window, L"Static", L"uvozovky \"x\", lomítko \\ a\ttabulátor", SS_LEFT, {20, 170, 440, 20},
               kQuoted);
    updateStatus(window);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state.font);
    case WM_ACTIVATE:
        // Keeps the focused control across deactivation, as a dialog does.
        if (LOWORD(wParam) == WA_INACTIVE) state.lastFocus = GetFocus();
        return 0;
    case WM_SETFOCUS:
        SetFocus(state.lastFocus && IsChild(window, state.lastFocus) ? state.lastFocus
                                                                     : GetDlgItem(window, kRemember));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ++(message == WM_LBUTTONDOWN ? state.downs : state.doubles);
        state.at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        updateStatus(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kApply:
            ++state.applies;
            updateStatus(window);
            return 0;
        case kMessage:
            MessageBoxW(window, L"Žluťoučký kůň úpěl ďábelské ódy.", L"Hlášení zkoušky",
                        MB_OK | MB_ICONINFORMATION);
            return 0;
        case kFreeze:
            // Stands in for a target that stops answering, to prove the helper does not wait forever.
            Sleep(static_cast<DWORD>(lParam));
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &kRedPatch, red);
        DeleteObject(red);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// A title on the command line makes a second, distinguishable window for tests of bringing one forward.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const wchar_t* title = __argc > 1 ? __wargv[1] : kTitle;
    HWND window = CreateWindowExW(0, kClassName, title, style, 100, 80, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, kRemember));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DeleteObject(state.font);
    DeleteObject(state.boldFont);
    return 0;
}
