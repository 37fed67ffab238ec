#include "question/form2.h"

#include "question/form2_layout.h"

namespace question {

const app::FormLayout& Form2::Layout() const {
    return kForm2Layout;
}

bool Form2::Raise(int control, app::Event event) {
    static constexpr app::Handler<Form2> kHandlers[] = {
        {Command1, app::Event::Click, &Form2::Command1_Click},
        {Command4, app::Event::Click, &Form2::Command4_Click},
    };
    return app::Dispatch(*this, kHandlers, control, event);
}

void Form2::Form_Load() {
    window().Beep();
}

void Form2::Command1_Click() {
    Unload();
    Show(app::FormId::Form3);
}

void Form2::Command4_Click() {
    // The button just pressed now reads "ANO", and it is painted so before the freeze.
    window().SetCaption(Command1, L"NE");
    window().SetCaption(Command4, L"ANO");
    window().Freeze(kFreezeLength);
    Unload();
    Show(app::FormId::Form3);
}

} // namespace question
