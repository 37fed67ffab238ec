// A text handed to the system, which wants a NUL after it.
#pragma once

#include "app/text.h"

#include <string_view>

namespace win32 {

// A copy of the text with its NUL. The texts the program shows are its own and far shorter than
// this; a longer one is a mistake, reported like a failing call.
app::Text<app::kLongestText> Terminated(std::wstring_view text);

} // namespace win32
