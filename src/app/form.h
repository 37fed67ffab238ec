// Base of the program's windows: each window is a class with its layout table and handlers named
// after control and event; it reaches the platform only through the calls below.
#pragma once

#include "app/layout.h"
#include "app/runtime.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string_view>

namespace app {

enum class FormId { Form1, Form2, Form3 };
inline constexpr int kFormCount = 3;

class WindowSequence;

class Form {
public:
    Form(FormId id, WindowSequence& sequence, Runtime& runtime)
        : id_(id), sequence_(sequence), runtime_(runtime) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    FormId Id() const { return id_; }
    virtual const FormLayout& Layout() const = 0;

    virtual void Form_Load() {}
    // Runs the handler named after the control and the event; false when the window has none.
    virtual bool Raise(int control, Event event) = 0;

protected:
    void Show(FormId form);
    void Unload(); // this window; the running handler goes on to its end
    void End();

    void Move(Twips left, Twips top, Twips width, Twips height) {
        runtime_.Move(*this, left, top, width, height);
    }
    Twips ScreenWidth() { return runtime_.ScreenWidth(); }
    Twips ScreenHeight() { return runtime_.ScreenHeight(); }
    void AddItem(int control, std::wstring_view text, int index) {
        runtime_.AddItem(*this, control, text, index);
    }
    void SetCaption(int control, std::wstring_view text) { runtime_.SetCaption(*this, control, text); }
    void SetEnabled(int control, bool enabled) { runtime_.SetEnabled(*this, control, enabled); }
    void Print(std::wstring_view text, bool lineEnd) { runtime_.Print(*this, text, lineEnd); }
    void MsgBox(std::wstring_view prompt, int style, std::wstring_view title) {
        runtime_.MsgBox(prompt, style, title);
    }
    void Beep() { runtime_.Beep(); }
    void Freeze(std::chrono::milliseconds length) { runtime_.Freeze(length); }
    void ShellExecuteA(const char* file) { runtime_.ShellExecuteA(file); }

private:
    FormId id_;
    WindowSequence& sequence_;
    Runtime& runtime_;
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
