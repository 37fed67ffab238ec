// A window's design as data: one table row per control, positions and sizes in twips.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace app {

using Twips = int;

// 0x00BBGGRR; the high bit marks a system colour instead.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColour = 0x80000000;
inline constexpr Colour kDialogFace = kSystemColour | 15; // COLOR_3DFACE
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kWhite = 0x00FFFFFF;

enum class Kind { Label, Frame, CheckBox, OptionButton, ComboBox, CommandButton, Image, Timer };

// Initial state of a control, combined with |.
enum State : unsigned {
    kPlain = 0,
    kChecked = 1,   // check box ticked
    kSelected = 2,  // option button chosen
    kDefault = 4,   // push button pressed by Enter anywhere in the window
    kCancel = 8,    // push button pressed by Esc anywhere in the window
    kDisabled = 16, // not clickable until enabled
    kAutoSize = 32, // label sized to its text in the window's font
};

inline constexpr int kNoContainer = -1;
inline constexpr int kNoTabStop = -1;

struct ControlSpec {
    Kind kind;
    std::string_view name;
    int container; // index of the group box holding it, or kNoContainer for the window itself
    std::wstring_view text;
    Twips left, top, width, height; // relative to the container's client area
    int tabIndex;
    unsigned state;
    int resource; // picture: icon resource id; timer: interval in milliseconds
};

enum class FrameStyle {
    FixedDialog, // caption and close box, not resizable, no minimize/maximize, no taskbar button
    None,        // no caption, no border
};

enum class Placement { ChosenBySystem, CentredOnScreen };

struct FontSpec {
    std::wstring_view face; // empty: the system's dialog font
    int points;
    int weight;
    int charset;
    bool fixedPitch;
};

struct FormLayout {
    std::wstring_view title;
    FrameStyle frame;
    Twips clientWidth, clientHeight;
    Placement placement;
    Colour background = kDialogFace; // the window's, painted by its class brush
    Colour foreground = kBlack;      // text the window draws itself
    FontSpec font;
    std::span<const ControlSpec> controls;
};

// Not constexpr on purpose: reaching it while compiling IndexOf stops the build.
void ControlNotInTable();

// Index of the named control in a window's table; a name missing from the table does not compile.
template <std::size_t N>
consteval int IndexOf(const ControlSpec (&table)[N], std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (table[i].name == name) return static_cast<int>(i);
    ControlNotInTable();
    return -1;
}

} // namespace app
