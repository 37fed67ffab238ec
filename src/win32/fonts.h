#pragma once

#include "app/layout.h"
#include "win32/handles.h"

#include <string_view>

namespace win32 {

// The window's font at the given DPI. An empty face means the system's dialog font; a fixed-pitch
// face that the system lacks is replaced by another fixed-pitch font of the same size and weight.
UniqueFont CreateFormFont(const app::FontSpec& design, int dpi);

// Extent of a single line of text in the font.
SIZE TextExtent(HDC dc, std::wstring_view text);

} // namespace win32
