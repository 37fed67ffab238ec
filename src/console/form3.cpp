#include "console/form3.h"

#include "app/text.h"
#include "console/form3_layout.h"
#include "console/site.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace console {
namespace {

inline constexpr std::wstring_view kTitle = L"Tajné nastavení systému Windows";
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

// Every row as the console types it: its text, and the character of the label after it.
constexpr std::size_t LongestRow() {
    std::size_t longest = 0;
    for (const ScriptRow& row : kScript)
        longest = std::max(longest, row.text.size() + (row.labelChar != kNoLabelChar ? 1 : 0));
    return longest;
}

inline constexpr std::wstring_view kFinaleStart =
    L"Tohle je jen NEŠKODNÝ ftípek ;-)\r\n"
    L"\r\n"
    L"Pošlete tento program svým známým ať vědí co všechno se dá "
    L"ve Windowsech nastavit\r\n"
    L"Navštivte internetovou stranu ";
inline constexpr std::wstring_view kFinaleBeforeCredit = L"\r\n\r\n";
inline constexpr std::wstring_view kCreditLine = site::kCreditLine;

// Both texts are made by the compiler, each in a buffer just large enough for its parts.
constexpr auto MakeFinalePrompt() {
    app::Text<kFinaleStart.size() + site::kHostView.size() + kFinaleBeforeCredit.size() + kCreditLine.size()>
        prompt(kFinaleStart);
    for (const char c : site::kHostView)
        prompt.Append(static_cast<wchar_t>(c));
    prompt.Append(kFinaleBeforeCredit);
    prompt.Append(kCreditLine);
    return prompt;
}
inline constexpr auto kFinalePrompt = MakeFinalePrompt();
static_assert(kFinalePrompt.view().size() <= app::kLongestText,
              "the credit line is too long for the message box");

inline constexpr std::string_view kScheme = "http://";
constexpr auto MakeSiteAddress() {
    app::BasicText<char, kScheme.size() + site::kHostView.size()> address(kScheme);
    address.Append(site::kHostView);
    return address;
}
inline constexpr auto kSiteAddress = MakeSiteAddress();

} // namespace

std::wstring_view FinalePrompt() {
    return kFinalePrompt.view();
}

const char* SiteAddress() {
    return kSiteAddress.c_str();
}

const app::FormLayout& Form3::Layout() const {
    return kForm3Layout;
}

bool Form3::Raise(int control, app::Event event) {
    static constexpr app::Handler<Form3> kHandlers[] = {
        {Timer1, app::Event::Timer, &Form3::Timer1_Timer},
        {app::kForm, app::Event::DisplayChange, &Form3::Form_DisplayChange},
    };
    return app::Dispatch(*this, kHandlers, control, event);
}

void Form3::Form_Load() {
    CoverScreen();
}

// Another resolution, DPI or set of monitors: the console covers the screen as it now is. What it
// has typed stays where it is, and the script goes on at its pace.
void Form3::Form_DisplayChange() {
    CoverScreen();
}

void Form3::CoverScreen() {
    window().Move(0, 0, window().ScreenWidth(), window().ScreenHeight());
}

void Form3::Timer1_Timer() {
    for (const ScriptRow& row : kScript) {
        if (TickCounter != row.count) continue;
        app::Text<LongestRow()> text(row.text);
        if (row.labelChar != kNoLabelChar)
            text.Append(static_cast<wchar_t>(site::kVolumeLabel[row.labelChar]));
        window().Print(text.view(), row.lineEnd);
    }
    if (TickCounter == kFinaleCount) {
        Finale();
        return;
    }
    TickCounter += 1;
}

void Form3::Finale() {
    window().MsgBox(FinalePrompt(), app::kMsgBoxCritical, kTitle);
    window().ShellExecuteA(SiteAddress());
    End();
}

} // namespace console
