// The settings window as designed: every control with its place in twips, tab index and state.
#pragma once

#include "app/layout.h"
#include "resource_ids.h"

namespace settings {

using app::kNoContainer, app::kNoTabStop, app::kPlain, app::kChecked, app::kSelected, app::kDefault,
    app::kCancel, app::kDisabled, app::kAutoSize;
using K = app::Kind;

// Group boxes are rows 2, 3 and 4; the controls inside them give their box as container.
inline constexpr int kFrame1 = 2, kFrame2 = 3, kFrame3 = 4;

// clang-format off
inline constexpr app::ControlSpec kForm1Controls[] = {
    // kind               name         container      text                                          left   top    width  height tab          state       picture/interval
    {K::Image,          "Image1",    kNoContainer,  L"",                                          120,   120,   480,   480,   kNoTabStop,  kPlain,     IDI_NETWORK_DRIVE_PICTURE},
    {K::Label,          "Label1",    kNoContainer,  L"Výchozí nastavení systému MS (r) Windows",  720,   240,   3105,  195,   0,           kAutoSize,  0},
    {K::Frame,          "Frame1",    kNoContainer,  L"Základní nastavení",                        120,   600,   4455,  1095,  1,           kPlain,     0},
    {K::Frame,          "Frame2",    kNoContainer,  L"Možnosti ukládání",                         120,   1800,  4455,  1575,  9,           kPlain,     0},
    {K::Frame,          "Frame3",    kNoContainer,  L"Další možnosti",                            120,   3480,  4455,  1575,  13,          kPlain,     0},
    {K::CommandButton,  "Command1",  kNoContainer,  L"OK",                                        720,   5160,  1215,  375,   20,          kDefault,   0},
    {K::CommandButton,  "Command2",  kNoContainer,  L"Storno",                                    2040,  5160,  1215,  375,   21,          kCancel,    0},
    {K::CommandButton,  "Command3",  kNoContainer,  L"Použít",                                    3360,  5160,  1215,  375,   22,          kDisabled,  0},
    // inside Frame1
    {K::CheckBox,       "Check1",    kFrame1,       L"Sekni se po",                               120,   300,   1215,  195,   2,           kChecked,   0},
    {K::ComboBox,       "Combo1",    kFrame1,       L"2",                                         1440,  240,   735,   315,   3,           kPlain,     0},
    {K::ComboBox,       "Combo2",    kFrame1,       L"Hodinách",                                  2280,  240,   1215,  315,   4,           kPlain,     0},
    {K::Label,          "Label2",    kFrame1,       L"práce",                                     3600,  300,   405,   195,   5,           kAutoSize,  0},
    {K::CheckBox,       "Check2",    kFrame1,       L"Ser mě tím, že budeš chtít heslo každých",  120,   660,   3255,  255,   6,           kChecked,   0},
    {K::ComboBox,       "Combo3",    kFrame1,       L"5",                                         3360,  600,   615,   315,   7,           kPlain,     0},
    {K::Label,          "Label3",    kFrame1,       L"minut",                                     3990,  660,   375,   195,   8,           kAutoSize,  0},
    // inside Frame2
    {K::CheckBox,       "Check3",    kFrame2,       L"Ukládej do neskutečně velkých souborů",     120,   240,   3255,  195,   10,          kChecked,   0},
    {K::CheckBox,       "Check4",    kFrame2,       L"Sem, tam rozhoď pár odstavců a čísel",      120,   480,   3135,  195,   11,          kChecked,   0},
    {K::CheckBox,       "Check7",    kFrame2,       L"Automaticky fragmentovat disk",             120,   720,   2655,  255,   19,          kChecked,   0},
    {K::Label,          "Label5",    kFrame2,       L"Ukládání trvá",                             120,   1140,  960,   195,   23,          kAutoSize,  0},
    {K::ComboBox,       "Combo4",    kFrame2,       L"Zasraně dlouho",                            1320,  1080,  2055,  315,   12,          kPlain,     0},
    // inside Frame3
    {K::CheckBox,       "Check6",    kFrame3,       L"Zpomalovat nabíhání programů",              120,   300,   2655,  195,   14,          kChecked,   0},
    {K::ComboBox,       "Combo5",    kFrame3,       L"Jak to jen jde",                            2760,  240,   1575,  315,   15,          kPlain,     0},
    {K::Label,          "Label4",    kFrame3,       L"Otravuj mě stupidníma hláškama",            120,   720,   2295,  195,   16,          kAutoSize,  0},
    {K::OptionButton,   "Option1",   kFrame3,       L"Neustále",                                  600,   960,   1095,  195,   17,          kPlain,     0},
    {K::OptionButton,   "Option2",   kFrame3,       L"Když mám zasraně málo času",                600,   1200,  2415,  195,   18,          kSelected,  0},
};
// clang-format on

inline constexpr app::FormLayout kForm1Layout{
    .title = L"Tajné nastavení systému Windows",
    .frame = app::FrameStyle::FixedDialog,
    .clientWidth = 4710,
    .clientHeight = 5655,
    .placement = app::Placement::ChosenBySystem,
    .font = {L"", 8, 400, 238, false},
    .controls = kForm1Controls,
};

inline constexpr int Image1 = app::IndexOf(kForm1Controls, "Image1");
inline constexpr int Label1 = app::IndexOf(kForm1Controls, "Label1");
inline constexpr int Frame1 = app::IndexOf(kForm1Controls, "Frame1");
inline constexpr int Frame2 = app::IndexOf(kForm1Controls, "Frame2");
inline constexpr int Frame3 = app::IndexOf(kForm1Controls, "Frame3");
inline constexpr int Command1 = app::IndexOf(kForm1Controls, "Command1");
inline constexpr int Command2 = app::IndexOf(kForm1Controls, "Command2");
inline constexpr int Command3 = app::IndexOf(kForm1Controls, "Command3");
inline constexpr int Check1 = app::IndexOf(kForm1Controls, "Check1");
inline constexpr int Combo1 = app::IndexOf(kForm1Controls, "Combo1");
inline constexpr int Combo2 = app::IndexOf(kForm1Controls, "Combo2");
inline constexpr int Label2 = app::IndexOf(kForm1Controls, "Label2");
inline constexpr int Check2 = app::IndexOf(kForm1Controls, "Check2");
inline constexpr int Combo3 = app::IndexOf(kForm1Controls, "Combo3");
inline constexpr int Label3 = app::IndexOf(kForm1Controls, "Label3");
inline constexpr int Check3 = app::IndexOf(kForm1Controls, "Check3");
inline constexpr int Check4 = app::IndexOf(kForm1Controls, "Check4");
inline constexpr int Check7 = app::IndexOf(kForm1Controls, "Check7");
inline constexpr int Label5 = app::IndexOf(kForm1Controls, "Label5");
inline constexpr int Combo4 = app::IndexOf(kForm1Controls, "Combo4");
inline constexpr int Check6 = app::IndexOf(kForm1Controls, "Check6");
inline constexpr int Combo5 = app::IndexOf(kForm1Controls, "Combo5");
inline constexpr int Label4 = app::IndexOf(kForm1Controls, "Label4");
inline constexpr int Option1 = app::IndexOf(kForm1Controls, "Option1");
inline constexpr int Option2 = app::IndexOf(kForm1Controls, "Option2");
static_assert(Frame1 == kFrame1 && Frame2 == kFrame2 && Frame3 == kFrame3);

} // namespace settings
