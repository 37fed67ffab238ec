#include "win32/win32_runtime.h"

#include "win32/console_window.h"
#include "win32/dialog_window.h"
#include "win32/failure.h"

namespace win32 {
namespace {

inline constexpr wchar_t kOwnerClass[] = L"TajneNastaveniVlastnik";

// The hidden owner stands for the program as a whole. "End task" and the like ask every top-level
// window of the program to close, this one too: the program then closes every window it has, as
// each window's own close box would. Left to DefWindowProc, the owner would destroy itself and
// every window it owns behind the program's back, and leave a process with no window.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sequence = reinterpret_cast<app::WindowSequence*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (sequence && !Failing()) {
        if (message == WM_CLOSE) {
            sequence->CloseAll();
            return 0;
        }
        // The user logs off or the system shuts down: once every program has agreed
        // (WM_QUERYENDSESSION, which DefWindowProc agrees to), every top-level window, this one
        // included, hears that the session really ends. The program ends with it, quietly.
        if (message == WM_ENDSESSION && wParam != FALSE) sequence->End();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

Win32Runtime::Win32Runtime() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
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

void Win32Runtime::Attach(app::WindowSequence& sequence) {
    sequence_ = &sequence;
    SetWindowLongPtrW(owner_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&sequence));
}

int Win32Runtime::Run() {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == -1) Fail(L"GetMessageW");
        if (result == 0) break;
        // The dialog manager gives the dialogs their keyboard: Tab, arrows, Enter and Esc.
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && DialogWindow::IsDialog(root) && IsDialogMessageW(root, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

std::unique_ptr<app::Window> Win32Runtime::CreateWindowFor(app::Form& form) {
    if (form.Layout().frame == app::FrameStyle::FixedDialog)
        return std::make_unique<DialogWindow>(form, *sequence_, desk_, owner_.Get());
    return std::make_unique<ConsoleWindow>(form, *sequence_, desk_, owner_.Get());
}

void Win32Runtime::Quit() {
    PostQuitMessage(0);
}

void Win32Runtime::End() {
    EndProcess(0);
}

} // namespace win32
