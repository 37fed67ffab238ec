// The web site the finale advertises and the volume label the console types, fixed at build time
// (cmake/site-check.cmake checks them and fills in the defaults).
#pragma once

#include "site_config.h"

#include <algorithm>
#include <string_view>

namespace site {

inline constexpr std::string_view kHostView{kHost};
inline constexpr std::string_view kVolumeLabel =
    kGivenVolumeLabel[0] ? std::string_view(kGivenVolumeLabel)
                         : std::string_view(kHost + kVolumeLabelStart, kVolumeLabelLength);

constexpr bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x21 && c <= 0x7E; });
}

static_assert(std::any_of(kHostView.begin(), kHostView.end(), [](char c) { return c == '.'; }),
              "the site's host needs at least two labels");
static_assert(IsPrintableAscii(kHostView), "the site's host must be plain printable ASCII");
static_assert(!kVolumeLabel.empty() && kVolumeLabel.size() <= 11,
              "the volume label typed on the console has 1 to 11 characters");
static_assert(std::all_of(kVolumeLabel.begin(), kVolumeLabel.end(),
                          [](char c) { return c >= 0x20 && c <= 0x7E; }),
              "the volume label is printable ASCII, as the rest of the console's text");

} // namespace site
