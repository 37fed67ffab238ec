#include "app/window_sequence.h"

#include <algorithm>

namespace app {

WindowSequence::HandlerScope::~HandlerScope() {
    WindowSequence& s = sequence_;
    if (--s.depth_ != 0) return;
    s.closedMeanwhile_ = false;
    s.unloaded_.clear();
    const bool anyLoaded =
        std::any_of(s.slots_.begin(), s.slots_.end(), [](const auto& slot) { return slot != nullptr; });
    if (!anyLoaded && !s.ended_) s.runtime_.Quit();
}

void WindowSequence::Start() {
    HandlerScope scope(*this);
    Show(FormId::Form1);
}

Form& WindowSequence::Load(FormId id) {
    std::unique_ptr<Form>& slot = slots_[Slot(id)];
    if (!slot) {
        slot = factory_(id, *this);
        ++created_[Slot(id)];
        slot->window_ = runtime_.CreateWindowFor(*slot);
        slot->Form_Load();
    }
    return *slot;
}

void WindowSequence::Show(FormId id) {
    if (ended_ || closedMeanwhile_) return;
    Form& form = Load(id);
    if (ended_) return; // its Form_Load ended the program
    form.window().Show();
}

void WindowSequence::Unload(Form& form) {
    if (!IsLoaded(form)) return;
    form.window().Destroy();
    unloaded_.push_back(std::move(slots_[Slot(form.Id())]));
}

void WindowSequence::End() {
    ended_ = true;
    runtime_.End();
}

void WindowSequence::Deliver(Form& form, int control, Event event) {
    if (ended_ || !IsLoaded(form)) return;
    // One handler of a window at a time: an event that arrives while one runs (a tick from a
    // message box's modal loop, a click sent to a button during the freeze) is dropped rather than
    // run inside it.
    if (std::find(running_.begin(), running_.end(), &form) != running_.end()) return;
    running_.push_back(&form);
    {
        HandlerScope scope(*this);
        form.Raise(control, event);
    }
    std::erase(running_, &form);
}

void WindowSequence::Close(Form& form) {
    if (ended_ || !IsLoaded(form)) return;
    if (depth_ > 0) closedMeanwhile_ = true;
    HandlerScope scope(*this);
    Unload(form);
}

void WindowSequence::CloseAll() {
    if (ended_) return;
    if (depth_ > 0) closedMeanwhile_ = true;
    HandlerScope scope(*this);
    for (const std::unique_ptr<Form>& slot : slots_)
        if (slot) Unload(*slot);
}

} // namespace app
