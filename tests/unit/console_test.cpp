// The console's script: what appears when, the finale, and the site it advertises.
#include "app/tick_schedule.h"
#include "console/form3.h"
#include "console/form3_layout.h"
#include "console/site.h"
#include "fake_runtime.h"
#include "question/form2_layout.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using app::Event;
using app::FormId;

namespace {

std::wstring Widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime.Sequence().Start();
        runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
        runtime.Raise(FormId::Form2, question::Command1, Event::Click);
        ASSERT_NE(runtime.Loaded(FormId::Form3), nullptr);
        runtime.calls.clear();
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            runtime.Raise(FormId::Form3, console::Timer1, Event::Timer);
    }
    const std::vector<std::wstring>& Screen() { return runtime.State(FormId::Form3)->lines; }
    int Prints() const {
        return static_cast<int>(std::count_if(runtime.calls.begin(), runtime.calls.end(),
                                              [](const std::string& c) { return c.starts_with("Print"); }));
    }
    fake::FakeRuntime runtime;
};

TEST_F(ConsoleTest, EmptyAfterTheFirstTickThenThePromptOnTheSecond) {
    Ticks(1);
    EXPECT_EQ(Screen(), (std::vector<std::wstring>{L""}));
    Ticks(1);
    EXPECT_EQ(Screen(), (std::vector<std::wstring>{L"C:\\", L""}));
}

TEST_F(ConsoleTest, TheWholeScreenAfterTheLastCharacter) {
    Ticks(181);
    const std::wstring label = Widen(site::kVolumeLabel);
    EXPECT_EQ(Screen(),
              (std::vector<std::wstring>{
                  L"C:\\", L"C:\\WINDOWS\\format c:", L"Opravdu si prejete zformatovat disk c: ? (A/N)", L"A",
                  L"", L"Prosim cekejte, formatuji disk C:", L"",
                  L"Vyskytla se chyba na adrese 0x7c81eb33 je mozne, ze disk nubude spravne pracovat...",
                  L"Nova jmenovka disku : " + label, // no line end after it
              }));
}

TEST_F(ConsoleTest, TheLabelIsTypedOneCharacterAtATimeAtItsCounts) {
    const int counts[] = {80, 90, 95, 100, 105, 130, 135, 140, 160, 170, 180};
    int ticks = 0;
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        Ticks(counts[i] + 1 - ticks); // the row for count c runs on tick c + 1
        ticks = counts[i] + 1;
        const std::wstring& last = Screen().back();
        EXPECT_EQ(last, L"Nova jmenovka disku : " + Widen(site::kVolumeLabel.substr(0, i + 1)))
            << "count " << counts[i];
        if (i + 1 < std::size(counts)) {
            Ticks(1); // one tick later nothing more has appeared
            ++ticks;
            EXPECT_EQ(Screen().back().size(), last.size());
        }
    }
}

TEST_F(ConsoleTest, NothingIsPrintedBetweenTheLastCharacterAndTheFinale) {
    Ticks(181);
    const int printed = Prints();
    Ticks(19); // counts 181 ... 199
    EXPECT_EQ(Prints(), printed);
    EXPECT_TRUE(runtime.messageBoxes.empty());
    Ticks(1); // count 200
    ASSERT_EQ(runtime.messageBoxes.size(), 1u);
    EXPECT_EQ(Prints(), printed);
}

TEST_F(ConsoleTest, TheFinaleShowsTheBoxThenOpensThePageThenEnds) {
    Ticks(201);
    ASSERT_EQ(runtime.messageBoxes.size(), 1u);
    EXPECT_EQ(runtime.messageBoxes[0].style, 16);
    EXPECT_EQ(runtime.messageBoxes[0].title, L"Tajné nastavení systému Windows");
    const auto box = std::find(runtime.calls.begin(), runtime.calls.end(), "MsgBox");
    const auto shell = std::find(runtime.calls.begin(), runtime.calls.end(),
                                 std::string("ShellExecuteA ") + console::SiteAddress());
    const auto end = std::find(runtime.calls.begin(), runtime.calls.end(), "End");
    ASSERT_NE(shell, runtime.calls.end());
    EXPECT_LT(box, shell);
    EXPECT_LT(shell, end);
    EXPECT_EQ(runtime.openedAddresses, (std::vector<std::string>{"http://" + std::string(site::kHostView)}));
}

TEST_F(ConsoleTest, TheFinaleComes16Point08SecondsAfterTheConsoleOpensWhateverTheTimerDoes) {
    // The console's own timer, kept on time as the program keeps it, on a platform timer that
    // fires a whole 15.6 ms quantum late every time: the box comes on the tick due at 201 x 80 ms.
    using namespace std::chrono;
    const app::ControlSpec& timer = console::kForm3Controls[console::Timer1];
    const app::TickSchedule::Clock::time_point opened{};
    app::TickSchedule schedule(opened, milliseconds(timer.resource));
    auto now = opened;
    while (runtime.messageBoxes.empty() && now - opened < seconds(60)) {
        now += schedule.DelayUntilNext(now) + microseconds(15600);
        if (schedule.TakeTick(now)) Ticks(1);
    }
    ASSERT_EQ(runtime.messageBoxes.size(), 1u);
    EXPECT_EQ(schedule.DueTime(schedule.Delivered()) - opened, milliseconds(16080));
    EXPECT_LE(now - opened, milliseconds(16080) + microseconds(15600) + milliseconds(1));
}

TEST_F(ConsoleTest, ThePromptHasSixLinesTheSecondAndFifthEmpty) {
    const std::wstring prompt(console::FinalePrompt());
    std::vector<std::wstring> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = prompt.find(L"\r\n", from)) != std::wstring::npos; from = at + 2)
        lines.push_back(prompt.substr(from, at - from));
    lines.push_back(prompt.substr(from));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"Tohle je jen NEŠKODNÝ ftípek ;-)");
    EXPECT_EQ(lines[1], L"");
    EXPECT_EQ(lines[2], L"Pošlete tento program svým známým ať vědí co všechno se dá ve Windowsech nastavit");
    EXPECT_EQ(lines[3], L"Navštivte internetovou stranu " + Widen(site::kHostView));
    EXPECT_EQ(lines[4], L"");
    EXPECT_EQ(lines[5], site::kCreditLine);
    EXPECT_EQ(prompt.find(L'\n'), prompt.find(L"\r\n") + 1); // no bare line feeds
}

TEST_F(ConsoleTest, TicksWhileTheBoxIsOpenDoNothing) {
    int nested = 0;
    runtime.duringMessageBox = [&] {
        for (int i = 0; i < 5; ++i, ++nested)
            runtime.Raise(FormId::Form3, console::Timer1, Event::Timer);
    };
    Ticks(201);
    EXPECT_EQ(nested, 5);
    EXPECT_EQ(runtime.messageBoxes.size(), 1u);
    EXPECT_EQ(runtime.openedAddresses.size(), 1u);
    EXPECT_EQ(std::count(runtime.calls.begin(), runtime.calls.end(), "End"), 1);
    const auto* form = static_cast<const console::Form3*>(runtime.Loaded(FormId::Form3));
    EXPECT_EQ(form->TickCounter, 200.0f);
}

TEST(Site, TheVolumeLabelIsTheHostWithoutItsFirstLabel) {
    const std::string_view host = site::kHostView;
    EXPECT_EQ(site::kVolumeLabel, host.substr(host.find('.') + 1));
    EXPECT_EQ(site::kVolumeLabel.size(), 11u);
    EXPECT_EQ(site::DomainOf("www.example.com"), "example.com");
    EXPECT_EQ(site::DomainOf("a.b.c"), "b.c");
}

} // namespace
