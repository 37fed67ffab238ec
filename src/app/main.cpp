// Entry point: the settings window, then the message loop until the joke is over.
#include "app/forms.h"
#include "app/window_sequence.h"
#include "win32/failure.h"
#include "win32/win32_runtime.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    win32::Check(InitCommonControlsEx(&controls), L"InitCommonControlsEx");
    win32::Win32Runtime runtime;
    app::WindowSequence sequence(runtime, &app::MakeForm);
    runtime.Attach(sequence);
    sequence.Start();
    return runtime.Run();
}
