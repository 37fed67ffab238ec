#include "app/number_text.h"

#include <charconv>

namespace app {

std::wstring NumberText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::wstring(buffer, result.ptr);
}

} // namespace app
