// The console's script: what it types on which count of its ticks.
#pragma once

#include "console/site.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace console {

inline constexpr int kNoLabelChar = -1;

// What the console types, and when: the row for count c runs on tick c + 1. The volume label's
// characters come at the eleven counts from 80 on, one a count, as far as the label goes.
struct ScriptRow {
    float count;
    std::wstring_view text;
    int labelChar; // index into the volume label appended to the text, or kNoLabelChar
    bool lineEnd;
};

inline constexpr ScriptRow kFullScript[] = {
    {1, L"C:\\", kNoLabelChar, true},
    {2, L"C:\\WINDOWS\\format c:", kNoLabelChar, true},
    {3, L"Opravdu si prejete zformatovat disk c: ? (A/N)", kNoLabelChar, true},
    {15, L"A", kNoLabelChar, true},
    {18, L"", kNoLabelChar, true},
    {20, L"Prosim cekejte, formatuji disk C:", kNoLabelChar, true},
    {25, L"", kNoLabelChar, true},
    {45, L"Vyskytla se chyba na adrese 0x7c81eb33 je mozne, ze disk nubude spravne pracovat...", kNoLabelChar,
     true},
    {80, L"Nova jmenovka disku : ", 0, false},
    {90, L"", 1, false},
    {95, L"", 2, false},
    {100, L"", 3, false},
    {105, L"", 4, false},
    {130, L"", 5, false},
    {135, L"", 6, false},
    {140, L"", 7, false},
    {160, L"", 8, false},
    {170, L"", 9, false},
    {180, L"", 10, false},
};
inline constexpr float kFinaleCount = 200;

// The script for the label the program was built with: a shorter label is typed sooner to its end,
// and the counts after its last character print nothing.
constexpr bool Typed(const ScriptRow& row) {
    return row.labelChar == kNoLabelChar ||
           static_cast<std::size_t>(row.labelChar) < site::kVolumeLabel.size();
}
constexpr std::size_t TypedRows() {
    std::size_t rows = 0;
    for (const ScriptRow& row : kFullScript)
        rows += Typed(row) ? 1 : 0;
    return rows;
}
constexpr std::array<ScriptRow, TypedRows()> TypedScript() {
    std::array<ScriptRow, TypedRows()> script{};
    std::size_t at = 0;
    for (const ScriptRow& row : kFullScript)
        if (Typed(row)) script[at++] = row;
    return script;
}
inline constexpr auto kScript = TypedScript();

} // namespace console
