// The web site the finale advertises, fixed at build time, and what the console derives from it.
#pragma once

#include "site_config.h"

#include <algorithm>
#include <string_view>

namespace site {

inline constexpr std::string_view kHostView{kHost};

// Position of the first dot, or the length when there is none. A plain loop: the library's
// find() is not a constant expression in a sanitized build.
constexpr std::size_t FirstDot(std::string_view host) {
    std::size_t at = 0;
    while (at < host.size() && host[at] != '.')
        ++at;
    return at;
}

// The new volume label the console types: the host without its first label and the dot.
constexpr std::string_view DomainOf(std::string_view host) {
    const std::size_t dot = FirstDot(host);
    return dot < host.size() ? std::string_view(host.data() + dot + 1, host.size() - dot - 1)
                             : std::string_view();
}

inline constexpr std::string_view kVolumeLabel = DomainOf(kHostView);

constexpr bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x21 && c <= 0x7E; });
}

static_assert(FirstDot(kHostView) < kHostView.size(), "the site's host needs at least two labels");
static_assert(kVolumeLabel.size() == 11,
              "the volume label typed on the console must be exactly 11 characters");
static_assert(IsPrintableAscii(kHostView), "the site's host must be plain printable ASCII");

} // namespace site
