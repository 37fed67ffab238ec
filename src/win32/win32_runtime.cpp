#include "win32/win32_runtime.h"

#include "win32/console_window.h"
#include "win32/dialog_window.h"
#include "win32/failure.h"

namespace win32 {
namespace {

inline constexpr wchar_t kOwnerClass[] = L"TajneNastaveniVlastnik";

} // namespace

Win32Runtime::Win32Runtime() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW ownerClass{};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = &DefWindowProcW;
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
        return std::make_unique<DialogWindow>(form, *sequence_, owner_.Get());
    return std::make_unique<ConsoleWindow>(form, *sequence_, owner_.Get());
}

void Win32Runtime::Quit() {
    PostQuitMessage(0);
}

void Win32Runtime::End() {
    ExitProcess(0);
}

} // namespace win32
