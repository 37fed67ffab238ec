// Base of the program's windows: each window is a class with its layout table and handlers named
// after control and event; it reaches the platform only through its window().
#pragma once

#include "app/layout.h"
#include "app/runtime.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace app {

enum class FormId { Form1, Form2, Form3 };
inline constexpr int kFormCount = 3;

class WindowSequence;

class Form {
public:
    Form(FormId id, WindowSequence& sequence) : id_(id), sequence_(sequence) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    FormId Id() const { return id_; }
    virtual const FormLayout& Layout() const = 0;

    virtual void Form_Load() {}
    // Runs the handler named after the control and the event; false when the window has none.
    virtual bool Raise(int control, Event event) = 0;

    // The window on the screen; there from creation until the form is freed.
    Window& window() { return *window_; }

protected:
    void Show(FormId form);
    void Unload(); // this window; the running handler goes on to its end
    void End();

private:
    friend class WindowSequence;

    FormId id_;
    WindowSequence& sequence_;
    std::unique_ptr<Window> window_;
};

// One row of a window's handler table: which member runs for which control and event.
template <typename F>
struct Handler {
    int control;
    Event event;
    void (F::*run)();
};

template <typename F, std::size_t N>
bool Dispatch(F& form, const Handler<F> (&handlers)[N], int control, Event event) {
    const auto found = std::find_if(std::begin(handlers), std::end(handlers), [&](const Handler<F>& h) {
        return h.control == control && h.event == event;
    });
    if (found == std::end(handlers)) return false;
    (form.*(found->run))();
    return true;
}

} // namespace app
