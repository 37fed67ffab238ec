// Texts the program builds or copies while running: at most Capacity characters in a buffer of
// their own, always followed by a NUL, as the system's calls want them.
//
// Not std::basic_string: which of its members a compiler's library keeps out of line differs from
// one GCC to the next (14 and 16 keep some in libstdc++.a), and one such member brings that
// library's exceptions, unwinder and stdio along: over four times the program's size, and imports
// that Windows XP lacks. The build checks what the program imports (cmake/program-check.cmake).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace app {

template <typename Char, std::size_t Capacity>
class BasicText {
public:
    constexpr BasicText() = default;
    constexpr explicit BasicText(std::basic_string_view<Char> text) { Append(text); }

    // Appends as much as fits; false when some of it did not.
    constexpr bool Append(std::basic_string_view<Char> more) {
        const bool fits = more.size() <= Capacity - size_;
        if (!fits) more.remove_suffix(more.size() - (Capacity - size_));
        for (const Char c : more)
            chars_[size_++] = c;
        chars_[size_] = Char{};
        return fits;
    }
    constexpr bool Append(Char c) { return Append(std::basic_string_view<Char>(&c, 1)); }

    constexpr const Char* c_str() const { return chars_.data(); }
    constexpr std::basic_string_view<Char> view() const { return {chars_.data(), size_}; }

private:
    std::array<Char, Capacity + 1> chars_{};
    std::size_t size_ = 0;
};

template <std::size_t Capacity>
using Text = BasicText<wchar_t, Capacity>;

// The longest text the program hands a window to show (a message box's prompt is the longest).
inline constexpr std::size_t kLongestText = 1024;

} // namespace app
