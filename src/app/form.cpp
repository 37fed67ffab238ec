#include "app/form.h"

#include "app/window_sequence.h"

namespace app {

void Form::Show(FormId form) {
    sequence_.Show(form);
}
void Form::Unload() {
    sequence_.Unload(*this);
}
void Form::End() {
    sequence_.End();
}

} // namespace app
