#include "win32/win32_runtime.h"

#include "win32/clock.h"
#include "win32/dpi.h"
#include "win32/failure.h"

#include <algorithm>
#include <string>

namespace win32 {
namespace {

inline constexpr wchar_t kOwnerClass[] = L"TajneNastaveniVlastnik";

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// Throws away the keys and clicks given while the UI thread did not listen.
void DiscardInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
    }
}

// From the system folder only: never a file of that name lying next to the program.
HMODULE LoadSystemLibrary(std::wstring_view name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    return LoadLibraryW(path.c_str());
}

} // namespace

Win32Runtime::Win32Runtime(HINSTANCE instance) {
    NativeWindow::RegisterClasses(instance);
    WNDCLASSEXW ownerClass{};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = &OwnerProc;
    ownerClass.hInstance = instance;
    ownerClass.lpszClassName = kOwnerClass;
    Check(RegisterClassExW(&ownerClass), L"RegisterClassExW");
    owner_.Reset(
        Check(CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr),
              L"CreateWindowExW"));
}

int Win32Runtime::Run() {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == -1) Fail(L"GetMessageW");
        if (result == 0) break;
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        // Tab, Enter and Esc work in the dialog windows as in a dialog box.
        if (!(root && IsDialogWindow(root) && IsDialogMessageW(root, &message))) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        retired_.clear();
    }
    return static_cast<int>(message.wParam);
}

bool Win32Runtime::IsDialogWindow(HWND window) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const Loaded& loaded) {
        return loaded.window->Handle() == window && loaded.window->IsDialog();
    });
}

NativeWindow& Win32Runtime::WindowOf(app::Form& form) {
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [&](const Loaded& loaded) { return loaded.form == &form; });
    if (found == windows_.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        Fail(L"(okno není načteno)");
    }
    return *found->window;
}

void Win32Runtime::CreateWindowFor(app::Form& form) {
    windows_.push_back({&form, std::make_unique<NativeWindow>(form, *sequence_, owner_.Get())});
}

void Win32Runtime::ShowWindowFor(app::Form& form) {
    WindowOf(form).Show();
}

void Win32Runtime::DestroyWindowFor(app::Form& form) {
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [&](const Loaded& loaded) { return loaded.form == &form; });
    if (found == windows_.end()) return;
    found->window->Destroy();
    retired_.push_back(std::move(found->window));
    windows_.erase(found);
}

void Win32Runtime::Quit() {
    PostQuitMessage(0);
}

void Win32Runtime::Move(app::Form& form, app::Twips left, app::Twips top, app::Twips width,
                        app::Twips height) {
    WindowOf(form).Move(left, top, width, height);
}

app::Twips Win32Runtime::ScreenWidth() {
    return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), SystemDpi());
}
app::Twips Win32Runtime::ScreenHeight() {
    return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), SystemDpi());
}

void Win32Runtime::AddItem(app::Form& form, int control, std::wstring_view text, int index) {
    WindowOf(form).AddItem(control, text, index);
}

void Win32Runtime::SetCaption(app::Form& form, int control, std::wstring_view text) {
    WindowOf(form).SetCaption(control, text);
}

void Win32Runtime::SetEnabled(app::Form& form, int control, bool enabled) {
    WindowOf(form).SetEnabled(control, enabled);
}

void Win32Runtime::Print(app::Form& form, std::wstring_view text, bool lineEnd) {
    WindowOf(form).Print(text, lineEnd);
}

void Win32Runtime::MsgBox(std::wstring_view prompt, int style, std::wstring_view title) {
    // Owned by the newest window, so that it opens above it (above the full-screen console).
    HWND owner = windows_.empty() ? nullptr : windows_.back().window->Handle();
    const std::wstring text(prompt), caption(title);
    Check(MessageBoxW(owner, text.c_str(), caption.c_str(), static_cast<UINT>(style) | MB_SETFOREGROUND),
          L"MessageBoxW");
}

void Win32Runtime::Beep() {
    Check(MessageBeep(MB_OK), L"MessageBeep");
}

void Win32Runtime::Freeze(std::chrono::milliseconds length) {
    // Slept in slices with a look at the queue in between: it handles no input, but lets the
    // system put what was painted last (the exchanged captions) on the screen.
    const auto end = Now() + length;
    for (auto now = Now(); now < end; now = Now()) {
        MSG message;
        PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE);
        const auto slice = std::chrono::ceil<std::chrono::milliseconds>(
            std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(50)));
        Sleep(static_cast<DWORD>(slice.count()));
    }
    DiscardInput();
}

void Win32Runtime::ShellExecuteA(const char* file) {
    // The shell is loaded for this one call at the very end: the windows before it start faster
    // and smaller without it. A page that cannot be opened is not worth an error: the joke ends
    // the same way.
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    // Never freed: the shell may still be at work on threads of its own when the call returns,
    // and the program ends right after.
    HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    if (!shell) return;
    const auto open =
        reinterpret_cast<ShellExecuteAFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (open) open(nullptr, nullptr, file, nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Runtime::End() {
    ExitProcess(0);
}

} // namespace win32
