#include "console/form3.h"

#include "app/text.h"
#include "console/form3_layout.h"
#include "console/form3_script.h"
#include "console/site.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace console {
namespace {

inline constexpr std::wstring_view kTitle = L"Tajné nastavení systému Windows";

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
