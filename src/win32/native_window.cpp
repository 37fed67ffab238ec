// The services every program window gives its form: showing and going, place and size, the
// message box, the beep, the freeze and the shell; and the class and font they share.
#include "win32/native_window.h"

#include "resource_ids.h"

#include "win32/clock.h"
#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/fonts.h"
#include "win32/shell.h"
#include "win32/terminated.h"

#include <algorithm>

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
    // The large icon is shared, the system freeing it with the module. The small one is loaded
    // at its own size and not shared: a shared load answers with whichever image of the name came
    // first, the large one scaled down. It lives as long as the class, that is the program.
    windowClass.hIcon = static_cast<HICON>(
        Check(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED),
              L"LoadImageW"));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
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

void NativeWindow::KeepTheForeground(HWND window) {
    // Taking the active window off the screen would activate some other program's window: the
    // hidden owner cannot take the activation then, so the system looks elsewhere. Windows allows
    // the owner the foreground only while the program has it, which it has here: the user's last
    // input went to this window.
    if (HWND owner = GetWindow(window, GW_OWNER); owner && GetForegroundWindow() == window)
        SetForegroundWindow(owner);
}

void NativeWindow::Destroy() {
    if (!window_) return;
    HWND window = window_;
    // The next window opens where the victim is.
    desk_.Remember(window);
    window_ = nullptr;
    // No message reaches this object from here on: it may be freed before the window is gone.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    KeepTheForeground(window);
    Check(DestroyWindow(window), L"DestroyWindow");
}

// Positions are the form's, on its screen: the monitor in use, whose top left corner is (0, 0) to it.
void NativeWindow::Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height) {
    const RECT screen = Screen();
    Check(SetWindowPos(window_, nullptr, screen.left + TwipsToPixels(left, dpi_),
                       screen.top + TwipsToPixels(top, dpi_), TwipsToPixels(width, dpi_),
                       TwipsToPixels(height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE),
          L"SetWindowPos");
}

// The screen in the window's own resolution, so that Move gives back its pixels exactly.
app::Twips NativeWindow::ScreenWidth() {
    const RECT screen = Screen();
    return PixelsToTwips(screen.right - screen.left, dpi_);
}

app::Twips NativeWindow::ScreenHeight() {
    const RECT screen = Screen();
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
    // Owned by this window, so that it opens above it (above the full-screen console), and above
    // every other program's window too, like the console: Windows may refuse the program the
    // foreground, and a box hidden behind another window would wait for ever.
    const auto text = Terminated(prompt), caption = Terminated(title);
    HWND owner = window_;
    const int answer = MessageBoxW(owner, text.c_str(), caption.c_str(),
                                   static_cast<UINT>(style) | MB_SETFOREGROUND | MB_TOPMOST);
    // Something closed the window while the box was open, and the box went with it: dismissed,
    // not failed.
    if (answer == 0 && owner && !IsWindow(owner)) return;
    Check(answer, L"MessageBoxW");
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
    // A request to close that was posted meanwhile ("End task" posts one to every window) is
    // heard now, before the handler goes on: the program then shows nothing more, as when the
    // request is sent during the freeze (which the look at the queue above hands over at once).
    // So is a close from the window menu or a taskbar thumbnail, which posts SC_CLOSE; the
    // window's other commands posted meanwhile are input, and go with it.
    MSG close;
    while (PeekMessageW(&close, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        DispatchMessageW(&close);
    while (PeekMessageW(&close, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE))
        if ((close.wParam & 0xFFF0) == SC_CLOSE) DispatchMessageW(&close);
}

void NativeWindow::ShellExecuteA(const char* file) {
    OpenWithShell(file);
}

} // namespace win32
