#pragma once

#include "app/window_sequence.h"

namespace app {

// Makes the program's window of the given class; the window sequence owns it.
std::unique_ptr<Form> MakeForm(FormId id, WindowSequence& sequence);

} // namespace app
