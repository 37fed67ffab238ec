#include "fake_runtime.h"

#include "app/forms.h"

#include <stdexcept>

namespace fake {

std::string Narrow(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        const auto u = static_cast<unsigned>(c);
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

namespace {
const char* FormName(app::FormId id) {
    switch (id) {
    case app::FormId::Form1:
        return "Form1";
    case app::FormId::Form2:
        return "Form2";
    case app::FormId::Form3:
        return "Form3";
    }
    return "?";
}
} // namespace

FakeRuntime::FakeRuntime() : sequence_(*this, &app::MakeForm) {}

WindowState* FakeRuntime::State(app::FormId id) {
    app::Form* form = Loaded(id);
    return form ? &StateOf(*form) : nullptr;
}

WindowState& FakeRuntime::StateOf(app::Form& form) {
    const auto found = windows_.find(&form);
    if (found == windows_.end()) throw std::logic_error("the window asked for a service while not created");
    return found->second;
}

std::string FakeRuntime::Name(app::Form& form, int control) {
    const auto controls = form.Layout().controls;
    if (control < 0 || control >= static_cast<int>(controls.size()))
        throw std::out_of_range("no such control");
    return std::string(controls[control].name);
}

void FakeRuntime::Raise(app::FormId id, int control, app::Event event) {
    app::Form* form = Loaded(id);
    if (!form) throw std::logic_error("event for a window that is not loaded");
    sequence_.Deliver(*form, control, event);
}

void FakeRuntime::CloseByUser(app::FormId id) {
    app::Form* form = Loaded(id);
    if (!form) throw std::logic_error("closing a window that is not loaded");
    sequence_.Close(*form);
}

void FakeRuntime::CreateWindowFor(app::Form& form) {
    if (ended) throw std::logic_error("window created after the end");
    WindowState state;
    state.id = form.Id();
    for (const app::ControlSpec& design : form.Layout().controls)
        state.controls.push_back({std::wstring(design.text), !(design.state & app::kDisabled), {}});
    windows_.insert_or_assign(&form, std::move(state));
    calls.push_back(std::string("Create ") + FormName(form.Id()));
}

void FakeRuntime::ShowWindowFor(app::Form& form) {
    StateOf(form).visible = true;
    calls.push_back(std::string("Show ") + FormName(form.Id()));
}

void FakeRuntime::DestroyWindowFor(app::Form& form) {
    StateOf(form);
    windows_.erase(&form);
    calls.push_back(std::string("Destroy ") + FormName(form.Id()));
}

void FakeRuntime::Quit() {
    quit = true;
    calls.push_back("Quit");
}

void FakeRuntime::Move(app::Form& form, app::Twips left, app::Twips top, app::Twips width,
                       app::Twips height) {
    WindowState& state = StateOf(form);
    state.left = left;
    state.top = top;
    state.width = width;
    state.height = height;
    calls.push_back("Move " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) +
                    " " + std::to_string(height));
}

void FakeRuntime::AddItem(app::Form& form, int control, std::wstring_view text, int index) {
    auto& items = StateOf(form).controls.at(control).items;
    if (index < 0 || index > static_cast<int>(items.size()))
        throw std::out_of_range("list index past the end");
    items.insert(items.begin() + index, std::wstring(text));
    calls.push_back("AddItem " + Name(form, control) + " " + std::to_string(index) + " " + Narrow(text));
}

void FakeRuntime::SetCaption(app::Form& form, int control, std::wstring_view text) {
    StateOf(form).controls.at(control).caption = text;
    calls.push_back("Caption " + Name(form, control) + " " + Narrow(text));
}

void FakeRuntime::SetEnabled(app::Form& form, int control, bool enabled) {
    StateOf(form).controls.at(control).enabled = enabled;
    calls.push_back("Enabled " + Name(form, control) + (enabled ? " true" : " false"));
}

void FakeRuntime::Print(app::Form& form, std::wstring_view text, bool lineEnd) {
    WindowState& state = StateOf(form);
    state.lines.back() += text;
    if (lineEnd) state.lines.emplace_back();
    calls.push_back("Print " + Narrow(text) + (lineEnd ? " \\n" : ""));
}

void FakeRuntime::MsgBox(std::wstring_view prompt, int style, std::wstring_view title) {
    messageBoxes.push_back({std::wstring(prompt), style, std::wstring(title)});
    calls.push_back("MsgBox");
    if (duringMessageBox) duringMessageBox();
}

void FakeRuntime::Beep() {
    ++beeps;
    calls.push_back("Beep");
}

void FakeRuntime::Freeze(std::chrono::milliseconds length) {
    freezes.push_back(length);
    calls.push_back("Freeze");
}

void FakeRuntime::ShellExecuteA(const char* file) {
    openedAddresses.emplace_back(file);
    calls.push_back(std::string("ShellExecuteA ") + file);
}

void FakeRuntime::End() {
    ended = true;
    calls.push_back("End");
}

} // namespace fake
