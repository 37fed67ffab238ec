#include "app/number_text.h"

#include <array>
#include <cstdint>

namespace app {

Text<kLongestNumberText> NumberText(float wholeNumber) {
    // Every whole float up to 2^24 is exact, and the lists stop at 60.
    const auto value = static_cast<std::int64_t>(wholeNumber);
    auto magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value);
    // Written from the last digit back.
    std::array<wchar_t, kLongestNumberText> digits{};
    std::size_t first = digits.size();
    do {
        digits[--first] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--first] = L'-';
    return Text<kLongestNumberText>(std::wstring_view(digits.data() + first, digits.size() - first));
}

} // namespace app
