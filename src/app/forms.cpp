#include "app/forms.h"

#include "console/form3.h"
#include "question/form2.h"
#include "settings/form1.h"

namespace app {

std::unique_ptr<Form> MakeForm(FormId id, WindowSequence& sequence) {
    switch (id) {
    case FormId::Form1:
        return std::make_unique<settings::Form1>(sequence);
    case FormId::Form2:
        return std::make_unique<question::Form2>(sequence);
    case FormId::Form3:
        return std::make_unique<console::Form3>(sequence);
    }
    return nullptr;
}

} // namespace app
