#include "app/number_text.h"

#include <cstdint>

namespace app {

std::wstring NumberText(float wholeNumber) {
    // Every whole float up to 2^24 is exact, and the lists stop at 60.
    const auto value = static_cast<std::int64_t>(wholeNumber);
    auto magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value);
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) text.insert(text.begin(), L'-');
    return text;
}

} // namespace app
