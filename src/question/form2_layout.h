// The question window as designed.
#pragma once

#include "app/layout.h"
#include "resource_ids.h"

namespace question {

using app::kNoContainer, app::kNoTabStop, app::kPlain, app::kAutoSize;
using K = app::Kind;

// clang-format off
inline constexpr app::ControlSpec kForm2Controls[] = {
    // kind               name         container      text                                                                       left   top   width  height tab          state       picture/interval
    {K::Image,          "Image1",    kNoContainer,  L"",                                                                       120,   120,  465,   480,  kNoTabStop,  kPlain,     IDI_WARNING_PICTURE},
    {K::Label,          "Label1",    kNoContainer,  L"Při ukládání nastavení došlo k vyjímce v aplikaci na místě 0x7c81eb33",  720,   120,  5040,  195,  0,           kAutoSize,  0},
    {K::Label,          "Label2",    kNoContainer,  L"Je nutné zformátovat disk. Přejete si zformátovat disk (C:)",            720,   360,  4050,  195,  1,           kAutoSize,  0},
    {K::CommandButton,  "Command1",  kNoContainer,  L"ANO",                                                                    1560,  720,  1215,  375,  2,           kPlain,     0},
    {K::CommandButton,  "Command4",  kNoContainer,  L"NE",                                                                     3240,  720,  1215,  375,  3,           kPlain,     0},
};
// clang-format on

inline constexpr app::FormLayout kForm2Layout{
    .title = L"Tajné nastavení systému Windows",
    .frame = app::FrameStyle::FixedDialog,
    .clientWidth = 6030,
    .clientHeight = 1200,
    .placement = app::Placement::CentredOnScreen,
    .font = {L"", 8, 400, 238, false},
    .controls = kForm2Controls,
};

inline constexpr int Image1 = app::IndexOf(kForm2Controls, "Image1");
inline constexpr int Label1 = app::IndexOf(kForm2Controls, "Label1");
inline constexpr int Label2 = app::IndexOf(kForm2Controls, "Label2");
inline constexpr int Command1 = app::IndexOf(kForm2Controls, "Command1");
inline constexpr int Command4 = app::IndexOf(kForm2Controls, "Command4");

} // namespace question
