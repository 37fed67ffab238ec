// Entry point: the one place that knows both the Windows runtime and every window of the joke.
// The settings window first, then the message loop until the joke is over.
#include "app/window_sequence.h"
#include "console/form3.h"
#include "question/form2.h"
#include "settings/form1.h"
#include "win32/failure.h"
#include "win32/win32_runtime.h"

#include <commctrl.h>
#include <windows.h>

namespace {

std::unique_ptr<app::Form> MakeForm(app::FormId id, app::WindowSequence& sequence) {
    switch (id) {
    case app::FormId::Form1:
        return std::make_unique<settings::Form1>(sequence);
    case app::FormId::Form2:
        return std::make_unique<question::Form2>(sequence);
    case app::FormId::Form3:
        return std::make_unique<console::Form3>(sequence);
    }
    return nullptr;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    // The system's own controls work without it too, in their older look.
    win32::Attempt(InitCommonControlsEx(&controls), L"InitCommonControlsEx");
    win32::Win32Runtime runtime;
    app::WindowSequence sequence(runtime, &MakeForm);
    runtime.Attach(sequence);
    sequence.Start();
    return runtime.Run();
}
