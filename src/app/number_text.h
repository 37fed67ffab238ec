#pragma once

#include <string>

namespace app {

// The text of a whole number counted in single precision, as the lists show it: no leading blank,
// no decimal point ("1", "60", "-7"). The lists hold nothing else, so fractions have no text here.
std::wstring NumberText(float wholeNumber);

} // namespace app
