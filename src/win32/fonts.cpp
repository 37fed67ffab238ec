#include "win32/fonts.h"

#include "win32/dpi.h"
#include "win32/failure.h"
#include "win32/terminated.h"

#include <cwchar>

namespace win32 {
namespace {

inline constexpr const wchar_t* kDialogFace = L"MS Shell Dlg";
// Tried in turn when the designed fixed-pitch face is missing; the empty face lets the font
// mapper pick any fixed-pitch font.
inline constexpr const wchar_t* kFixedPitchFallbacks[] = {L"Courier New", L""};

UniqueFont CreateWithFace(const app::FontSpec& design, int dpi, const wchar_t* face) {
    LOGFONTW font{};
    font.lfHeight = -PointsToPixels(design.points, dpi);
    font.lfWeight = design.weight;
    font.lfCharSet = static_cast<BYTE>(design.charset);
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = design.fixedPitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return UniqueFont(Check(CreateFontIndirectW(&font), L"CreateFontIndirectW"));
}

// Whether the font the mapper actually chose is fixed pitch and, when a face was asked for, that face.
bool IsFixedPitchFace(HFONT font, const wchar_t* face) {
    WindowDC screen(nullptr);
    Check(screen.Get(), L"GetDC");
    Selected selected(screen.Get(), font);
    TEXTMETRICW metrics{};
    Check(GetTextMetricsW(screen.Get(), &metrics), L"GetTextMetricsW");
    wchar_t chosen[LF_FACESIZE]{};
    Check(GetTextFaceW(screen.Get(), LF_FACESIZE, chosen), L"GetTextFaceW");
    // The TMPF_FIXED_PITCH bit is set for variable-pitch fonts.
    const bool fixed = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    return fixed && (*face == L'\0' || _wcsicmp(chosen, face) == 0);
}

} // namespace

UniqueFont CreateFormFont(const app::FontSpec& design, int dpi) {
    const auto face = Terminated(design.face.empty() ? std::wstring_view(kDialogFace) : design.face);
    UniqueFont font = CreateWithFace(design, dpi, face.c_str());
    if (!design.fixedPitch || IsFixedPitchFace(font.Get(), face.c_str())) return font;
    for (const wchar_t* fallback : kFixedPitchFallbacks) {
        UniqueFont candidate = CreateWithFace(design, dpi, fallback);
        if (IsFixedPitchFace(candidate.Get(), fallback)) return candidate;
    }
    return font;
}

SIZE TextExtent(HDC dc, std::wstring_view text) {
    SIZE size{};
    if (text.empty()) {
        TEXTMETRICW metrics{};
        Check(GetTextMetricsW(dc, &metrics), L"GetTextMetricsW");
        size.cy = metrics.tmHeight;
        return size;
    }
    Check(GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size),
          L"GetTextExtentPoint32W");
    return size;
}

} // namespace win32
