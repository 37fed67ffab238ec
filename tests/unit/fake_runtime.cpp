#include "fake_runtime.h"

#include "console/form3.h"
#include "question/form2.h"
#include "settings/form1.h"

namespace fake {

namespace {

// The program's three windows, as its entry point makes them.
std::unique_ptr<app::Form> MakeForm(app::FormId id, app::WindowSequence& sequence) {
    if (id == app::FormId::Form1) return std::make_unique<settings::Form1>(sequence);
    if (id == app::FormId::Form2) return std::make_unique<question::Form2>(sequence);
    return std::make_unique<console::Form3>(sequence);
}

} // namespace

FakeRuntime::FakeRuntime() : sequence_(*this, &MakeForm) {}

WindowState* FakeRuntime::State(app::FormId id) {
    app::Form* form = Loaded(id);
    if (!form) return nullptr;
    const auto found = windows.find(form);
    return found == windows.end() ? nullptr : &found->second;
}

void FakeRuntime::Raise(app::FormId id, int control, app::Event event) {
    app::Form* form = Loaded(id);
    if (!form) throw std::logic_error("event for a window that is not loaded");
    sequence_.Deliver(*form, control, event);
}

std::unique_ptr<app::Window> FakeRuntime::CreateWindowFor(app::Form& form) {
    if (ended) throw std::logic_error("window created after the end");
    static constexpr const char* kNames[] = {"Form1", "Form2", "Form3"};
    const std::string name = kNames[static_cast<int>(form.Id())];
    WindowState state;
    for (const app::ControlSpec& design : form.Layout().controls)
        state.controls.push_back({std::wstring(design.text), !(design.state & app::kDisabled), {}});
    windows.insert_or_assign(&form, std::move(state));
    calls.push_back("Create " + name);
    return std::make_unique<FakeWindow>(*this, form, name);
}

} // namespace fake
