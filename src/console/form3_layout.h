// The console window as designed: black, frameless, white bold fixed-pitch text, one timer.
#pragma once

#include "app/layout.h"

namespace console {

using app::kNoContainer, app::kNoTabStop, app::kPlain;

inline constexpr int kTickMilliseconds = 80;

// clang-format off
inline constexpr app::ControlSpec kForm3Controls[] = {
    // kind               name       container      text  left top width height tab          state    picture/interval
    {app::Kind::Timer,  "Timer1",  kNoContainer,  L"",  0,  0,  0,  0,  kNoTabStop,  kPlain,  kTickMilliseconds},
};
// clang-format on

inline constexpr app::FormLayout kForm3Layout{
    .title = L"Form3",
    .frame = app::FrameStyle::None,
    .clientWidth = 4680,
    .clientHeight = 3090,
    .placement = app::Placement::ChosenBySystem,
    .background = app::kBlack,
    .foreground = app::kWhite,
    .font = {L"Courier", 12, 700, 238, true},
    .controls = kForm3Controls,
};

inline constexpr int Timer1 = app::IndexOf(kForm3Controls, "Timer1");

} // namespace console
