#include "console/form3.h"

#include "console/form3_layout.h"
#include "console/site.h"

#include <string_view>

namespace console {
namespace {

inline constexpr std::wstring_view kTitle = L"Tajné nastavení systému Windows";
inline constexpr int kNoLabelChar = -1;

// What the console types, and when: the row for count c runs on tick c + 1.
struct ScriptRow {
    float count;
    std::wstring_view text;
    int labelChar; // index into the volume label appended to the text, or kNoLabelChar
    bool lineEnd;
};

inline constexpr ScriptRow kScript[] = {
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

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

std::wstring FinalePrompt() {
    std::wstring prompt;
    prompt += L"Tohle je jen NEŠKODNÝ ftípek ;-)";
    prompt += L"\r\n";
    prompt += L"\r\n";
    prompt += L"Pošlete tento program svým známým ať vědí co všechno se dá ve Windowsech nastavit";
    prompt += L"\r\n";
    prompt += L"Navštivte internetovou stranu ";
    prompt += Widen(site::kHostView);
    prompt += L"\r\n";
    prompt += L"\r\n";
    prompt += site::kCreditLine;
    return prompt;
}

// Built by appending: the library's out-of-line insert would bring its exception machinery along.
std::string SiteAddress() {
    std::string address = "http://";
    address += site::kHostView;
    return address;
}

const app::FormLayout& Form3::Layout() const {
    return kForm3Layout;
}

bool Form3::Raise(int control, app::Event event) {
    static constexpr app::Handler<Form3> kHandlers[] = {
        {Timer1, app::Event::Timer, &Form3::Timer1_Timer},
    };
    return app::Dispatch(*this, kHandlers, control, event);
}

void Form3::Form_Load() {
    window().Move(0, 0, window().ScreenWidth(), window().ScreenHeight());
}

void Form3::Timer1_Timer() {
    for (const ScriptRow& row : kScript) {
        if (TickCounter != row.count) continue;
        std::wstring text(row.text);
        if (row.labelChar != kNoLabelChar) text += static_cast<wchar_t>(site::kVolumeLabel[row.labelChar]);
        window().Print(text, row.lineEnd);
    }
    if (TickCounter == kFinaleCount) {
        Finale();
        return;
    }
    TickCounter += 1;
}

void Form3::Finale() {
    window().MsgBox(FinalePrompt(), app::kMsgBoxCritical, kTitle);
    window().ShellExecuteA(SiteAddress().c_str());
    End();
}

} // namespace console
