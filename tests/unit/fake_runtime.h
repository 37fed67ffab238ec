// A runtime without windows: records what the program's windows ask for, keeps the state a
// user would see (captions, enabled buttons, list entries, printed text), and lets a test
// raise events.
#pragma once

#include "app/runtime.h"
#include "app/window_sequence.h"

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fake {

struct ControlState {
    std::wstring caption;
    bool enabled = true;
    std::vector<std::wstring> items;
};

struct WindowState {
    std::vector<ControlState> controls;
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
    std::wstring printed; // everything printed, a line end as \n
    std::vector<std::chrono::milliseconds> freezes;
    bool quit = false;
    bool ended = false;
    // Run while a message box is open, as a platform's modal loop would run events, and during a
    // freeze, as a platform hands over messages sent to the frozen window.
    std::function<void()> duringMessageBox;
    std::function<void()> duringFreeze;
    // What a window on the screen shows, by form; a destroyed window has none.
    std::map<const app::Form*, WindowState> windows;

    // The loaded window of a class, or null.
    app::Form* Loaded(app::FormId id) const { return sequence_.Loaded(id); }
    WindowState* State(app::FormId id);
    // Raises an event on a control of a loaded window, as the user or the timer would.
    void Raise(app::FormId id, int control, app::Event event);

    std::unique_ptr<app::Window> CreateWindowFor(app::Form& form) override;
    void Quit() override {
        quit = true;
        calls.push_back("Quit");
    }
    void End() override {
        ended = true;
        calls.push_back("End");
    }

private:
    app::WindowSequence sequence_;
};

// One window's services, recorded in its runtime.
class FakeWindow final : public app::Window {
public:
    FakeWindow(FakeRuntime& runtime, app::Form& form, std::string name)
        : runtime_(runtime), form_(form), name_(std::move(name)) {}

    void Show() override {
        State();
        Record("Show " + name_);
    }
    void Destroy() override {
        State();
        runtime_.windows.erase(&form_);
        Record("Destroy " + name_);
    }
    void Move(app::Twips left, app::Twips top, app::Twips width, app::Twips height) override {
        State();
        Record("Move " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) +
               " " + std::to_string(height));
    }
    // 1024 x 768 at 96 DPI
    app::Twips ScreenWidth() override { return 15360; }
    app::Twips ScreenHeight() override { return 11520; }
    void AddItem(int control, std::wstring_view text, int index) override {
        auto& items = State().controls.at(control).items;
        if (index < 0 || index > static_cast<int>(items.size()))
            throw std::out_of_range("list index past the end");
        items.insert(items.begin() + index, std::wstring(text));
        Record("AddItem " + Name(control) + " " + std::to_string(index));
    }
    void SetCaption(int control, std::wstring_view text) override {
        State().controls.at(control).caption = text;
        // The program's captions are plain ASCII ("ANO", "NE").
        Record("Caption " + Name(control) + " " + std::string(text.begin(), text.end()));
    }
    void SetEnabled(int control, bool enabled) override {
        State().controls.at(control).enabled = enabled;
        Record("Enabled " + Name(control) + (enabled ? " true" : " false"));
    }
    void Print(std::wstring_view text, bool lineEnd) override {
        State();
        runtime_.printed += std::wstring(text) + (lineEnd ? L"\n" : L"");
        Record("Print");
    }
    void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) override {
        runtime_.messageBoxes.push_back({std::wstring(prompt), style, std::wstring(title)});
        Record("MsgBox");
        if (runtime_.duringMessageBox) runtime_.duringMessageBox();
    }
    void Beep() override { Record("Beep"); }
    void Freeze(std::chrono::milliseconds length) override {
        runtime_.freezes.push_back(length);
        Record("Freeze");
        if (runtime_.duringFreeze) runtime_.duringFreeze();
    }
    void ShellExecuteA(const char* file) override {
        runtime_.openedAddresses.emplace_back(file);
        Record(std::string("ShellExecuteA ") + file);
    }

private:
    // The window's state; asking a destroyed window for a service is a fault of the program.
    WindowState& State() {
        const auto found = runtime_.windows.find(&form_);
        if (found == runtime_.windows.end())
            throw std::logic_error(name_ + " asked for a service after it was destroyed");
        return found->second;
    }
    std::string Name(int control) const { return std::string(form_.Layout().controls[control].name); }
    void Record(std::string call) { runtime_.calls.push_back(std::move(call)); }

    FakeRuntime& runtime_;
    app::Form& form_;
    std::string name_;
};

} // namespace fake
