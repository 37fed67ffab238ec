#pragma once

#include "app/text.h"

namespace app {

// The longest number text: "-9223372036854775808".
inline constexpr std::size_t kLongestNumberText = 20;

// The text of a whole number counted in single precision, as the lists show it: no leading blank,
// no decimal point ("1", "60", "-7"). The lists hold nothing else, so fractions have no text here.
Text<kLongestNumberText> NumberText(float wholeNumber);

} // namespace app
