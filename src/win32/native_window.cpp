#include "win32/native_window.h"

#include "resource_ids.h"

#include "win32/clock.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"

#include <objbase.h>

#include <algorithm>
#include <string>

namespace win32 {
namespace {

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

[[noreturn]] void NoSuchControl() {
    SetLastError(ERROR_INVALID_INDEX);
    Fail(L"(ovládací prvek v okně není)");
}

} // namespace

NativeWindow* NativeWindow::From(HWND window) {
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

ATOM NativeWindow::RegisterWindowClass(const wchar_t* name, WNDPROC procedure, int extraBytes,
                                       app::Colour background) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = instance;
    // Shared: the system frees them with the module.
    windowClass.hIcon = static_cast<HICON>(
        Check(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED),
              L"LoadImageW"));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    // The class owns its brush for the life of the program.
    windowClass.hbrBackground = (background & app::kSystemColour)
                                    ? GetSysColorBrush(static_cast<int>(background & ~app::kSystemColour))
                                    : Check(CreateSolidBrush(background), L"CreateSolidBrush");
    windowClass.lpszClassName = name;
    return Check(RegisterClassExW(&windowClass), L"RegisterClassExW");
}

void NativeWindow::Bind(HWND window) {
    window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Created on the monitor the system chose, which may have a resolution of its own.
    dpi_ = WindowDpi(window);
}

void NativeWindow::SetFormFont() {
    font_ = CreateFormFont(form_.Layout().font, dpi_);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void NativeWindow::Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    Attempt(UpdateWindow(window_), L"UpdateWindow");
}

void NativeWindow::Destroy() {
    if (!window_) return;
    HWND window = window_;
    window_ = nullptr;
    // No message reaches this object from here on: it may be freed before the window is gone.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    Check(DestroyWindow(window), L"DestroyWindow");
}

void NativeWindow::Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height) {
    Check(SetWindowPos(window_, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_),
                       TwipsToPixels(width, dpi_), TwipsToPixels(height, dpi_),
                       SWP_NOZORDER | SWP_NOACTIVATE),
          L"SetWindowPos");
}

// The screen in the window's own resolution, so that Move gives back its pixels exactly.
app::Twips NativeWindow::ScreenWidth() {
    const RECT screen = MonitorOf(window_);
    return PixelsToTwips(screen.right - screen.left, dpi_);
}

app::Twips NativeWindow::ScreenHeight() {
    const RECT screen = MonitorOf(window_);
    return PixelsToTwips(screen.bottom - screen.top, dpi_);
}

void NativeWindow::AddItem(int, std::wstring_view, int) {
    NoSuchControl();
}
void NativeWindow::SetCaption(int, std::wstring_view) {
    NoSuchControl();
}
void NativeWindow::SetEnabled(int, bool) {
    NoSuchControl();
}
void NativeWindow::Print(std::wstring_view, bool) {
    NoSuchControl();
}

void NativeWindow::MsgBox(std::wstring_view prompt, int style, std::wstring_view title) {
    // Owned by this window, so that it opens above it (above the full-screen console).
    const std::wstring text(prompt), caption(title);
    Check(MessageBoxW(window_, text.c_str(), caption.c_str(), static_cast<UINT>(style) | MB_SETFOREGROUND),
          L"MessageBoxW");
}

void NativeWindow::Beep() {
    // A machine without sound still gets the joke.
    Attempt(MessageBeep(MB_OK), L"MessageBeep");
}

void NativeWindow::Freeze(std::chrono::milliseconds length) {
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

void NativeWindow::ShellExecuteA(const char* file) {
    // The shell and COM are loaded for this one call at the very end: the windows before it start
    // faster and smaller without them. They are never freed: the program ends right after.
    // A page that cannot be opened is not worth an error: the joke ends the same way.
    //
    // The shell may hand the address to extensions that need COM, and from a thread outside a
    // single-threaded apartment it launches on a thread of its own, which the end of the process
    // would cut off: the program ends as soon as the call returns. So this thread joins an
    // apartment first; then the launch happens within the call. Should that fail, the call is
    // made all the same.
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    if (HMODULE com = LoadSystemLibrary(L"ole32.dll")) {
        if (const auto join = reinterpret_cast<CoInitializeExFn>(
                reinterpret_cast<void*>(GetProcAddress(com, "CoInitializeEx"))))
            Attempt(SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)),
                    L"CoInitializeEx");
    }
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    if (!shell) return;
    const auto open =
        reinterpret_cast<ShellExecuteAFn>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (open) open(nullptr, nullptr, file, nullptr, nullptr, SW_SHOWNORMAL);
    // What the shell left for this thread to handle (the last messages of a conversation with the
    // browser, say) is handled before the end: until the queue has been quiet for a moment.
    const auto deadline = Now() + std::chrono::seconds(2);
    while (Now() < deadline &&
           MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT) != WAIT_TIMEOUT) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace win32
