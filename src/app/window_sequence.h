// Owns the program's windows: one slot per window class, created on first use, unloaded once,
// and the end of the program when no window is left.
#pragma once

#include "app/form.h"
#include "app/runtime.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace app {

using FormFactory = std::unique_ptr<Form> (*)(FormId, WindowSequence&);

class WindowSequence {
public:
    WindowSequence(Runtime& runtime, FormFactory factory) : runtime_(runtime), factory_(factory) {}
    WindowSequence(const WindowSequence&) = delete;
    WindowSequence& operator=(const WindowSequence&) = delete;

    // The program's entry: the settings window, loaded and shown.
    void Start();

    // Creates the window if its slot is empty (running its Form_Load to completion), then shows it.
    void Show(FormId id);
    // Hides and destroys the window; the form and its window object live on until the running
    // handler has returned, whatever is still on the call stack.
    void Unload(Form& form);
    void End();

    // From the platform: a control's event, and the user closing a window through its frame. An
    // event of a window whose handler is running is dropped. A close that arrives while a handler runs (from
    // a modal loop, or during a freeze) also keeps that handler from showing any further window: the program
    // ends once it returns.
    void Deliver(Form& form, int control, Event event);
    void Close(Form& form);
    // Every window closed at once: the program as a whole was asked to close.
    void CloseAll();

    Form* Loaded(FormId id) const { return slots_[Slot(id)].get(); }
    int TimesCreated(FormId id) const { return created_[Slot(id)]; }

private:
    // Marks a handler running; the outermost one, on return, frees unloaded windows and, when
    // none is left loaded, ends the event loop.
    class HandlerScope {
    public:
        explicit HandlerScope(WindowSequence& sequence) : sequence_(sequence) { ++sequence_.depth_; }
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        WindowSequence& sequence_;
    };

    static std::size_t Slot(FormId id) { return static_cast<std::size_t>(id); }
    Form& Load(FormId id);
    // Compares addresses only: the platform may still hold a pointer to a window already freed.
    bool IsLoaded(const Form& form) const {
        return std::any_of(slots_.begin(), slots_.end(),
                           [&](const auto& slot) { return slot.get() == &form; });
    }

    Runtime& runtime_;
    FormFactory factory_;
    std::array<std::unique_ptr<Form>, kFormCount> slots_{};
    std::array<int, kFormCount> created_{};
    std::vector<std::unique_ptr<Form>> unloaded_;
    // Windows one of whose handlers is running.
    std::vector<const Form*> running_;
    int depth_ = 0;
    // A window was closed from outside while a handler ran (say, during the freeze): the handler
    // goes on to its end, but shows no window any more.
    bool closedMeanwhile_ = false;
    bool ended_ = false;
};

} // namespace app
