#pragma once

// What the helper and the probe library it plants in a target agree on. Both are always built
// together with the same bitness, so the layout needs no packing tricks.
#include <windows.h>

#include <cstdint>

inline constexpr wchar_t kProbeLibraryName[] = L"e2e_helper_probe.dll";
inline constexpr char kProbeHookExport[] = "e2eProbeHook";
inline constexpr wchar_t kProbeMessageName[] = L"E2eHelperProbe.v1";
inline constexpr wchar_t kProbeMappingPrefix[] = L"Local\\E2eHelperProbe.v1.";

enum class ProbeKind : std::uint32_t { Font = 1, Image = 2 };

struct ProbeBlock {
    // Written by the helper before each question.
    std::uint32_t sequence;
    ProbeKind kind;
    std::uint64_t hwnd;
    // Written by the probe; `answered` echoes `sequence` so a stale block is never mistaken for a reply.
    std::uint32_t answered;
    std::uint32_t found;
    LOGFONTW font;
    std::int32_t width;
    std::int32_t height;
    std::uint32_t isIcon;
};
