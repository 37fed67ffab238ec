// A runtime without windows: records what the program's windows ask for, keeps the state a
// user would see (captions, enabled buttons, list entries, printed lines), and lets a test
// raise events.
#pragma once

#include "app/runtime.h"
#include "app/window_sequence.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

struct ControlState {
    std::wstring caption;
    bool enabled = true;
    std::vector<std::wstring> items;
};

struct WindowState {
    app::FormId id = app::FormId::Form1;
    bool visible = false;
    app::Twips left = 0, top = 0, width = 0, height = 0;
    std::vector<ControlState> controls;
    // Console output as lines; the last one may still be open (printed without line end).
    std::vector<std::wstring> lines{L""};
};

struct MessageBox {
    std::wstring prompt;
    int style;
    std::wstring title;
};

class FakeRuntime final : public app::Runtime {
public:
    FakeRuntime();

    app::WindowSequence& Sequence() { return sequence_; }

    // What happened, in order, one short line per call: "Create Form1", "AddItem Combo1 0 1", ...
    std::vector<std::string> calls;
    std::vector<MessageBox> messageBoxes;
    std::vector<std::string> openedAddresses;
    int beeps = 0;
    std::vector<std::chrono::milliseconds> freezes;
    bool quit = false;
    bool ended = false;
    app::Twips screenWidth = 15360, screenHeight = 11520; // 1024 x 768 at 96 DPI
    // Runs while a message box is open, as a platform's modal loop would run events.
    std::function<void()> duringMessageBox;

    // The loaded window of a class, or null.
    app::Form* Loaded(app::FormId id) const { return sequence_.Loaded(id); }
    WindowState* State(app::FormId id);
    // Raises an event on a control of a loaded window, as the user or the timer would.
    void Raise(app::FormId id, int control, app::Event event);
    void CloseByUser(app::FormId id);

    void CreateWindowFor(app::Form& form) override;
    void ShowWindowFor(app::Form& form) override;
    void DestroyWindowFor(app::Form& form) override;
    void Quit() override;
    void Move(app::Form& form, app::Twips left, app::Twips top, app::Twips width, app::Twips height) override;
    app::Twips ScreenWidth() override { return screenWidth; }
    app::Twips ScreenHeight() override { return screenHeight; }
    void AddItem(app::Form& form, int control, std::wstring_view text, int index) override;
    void SetCaption(app::Form& form, int control, std::wstring_view text) override;
    void SetEnabled(app::Form& form, int control, bool enabled) override;
    void Print(app::Form& form, std::wstring_view text, bool lineEnd) override;
    void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) override;
    void Beep() override;
    void Freeze(std::chrono::milliseconds length) override;
    void ShellExecuteA(const char* file) override;
    void End() override;

private:
    WindowState& StateOf(app::Form& form);
    std::string Name(app::Form& form, int control);

    app::WindowSequence sequence_;
    std::map<app::Form*, WindowState> windows_;
};

std::string Narrow(std::wstring_view text);

} // namespace fake
