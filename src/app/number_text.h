#pragma once

#include <string>

namespace app {

// The shortest decimal text that reads back as the same single-precision value:
// no leading blank, no decimal point for whole numbers ("1", "60", "0.1", "1e+20").
std::wstring NumberText(float value);

} // namespace app
