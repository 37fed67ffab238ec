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
    fake::FakeRuntime runtime;
};

// The console's script as the joke has it, row by row: what is printed when the counter reads
// `count`, which is on tick count + 1. Written out here, apart from the program's own table, so
// that a slip in either shows.
struct ExpectedRow {
    int count;
    std::wstring text;
    bool lineEnd;
};

std::vector<ExpectedRow> ExpectedScript() {
    const std::wstring label = Widen(site::kVolumeLabel);
    const auto character = [&](std::size_t n) { return label.substr(n - 1, 1); }; // the n-th, from 1
    return {
        {1, L"C:\\", true},
        {2, L"C:\\WINDOWS\\format c:", true},
        {3, L"Opravdu si prejete zformatovat disk c: ? (A/N)", true},
        {15, L"A", true},
        {18, L"", true},
        {20, L"Prosim cekejte, formatuji disk C:", true},
        {25, L"", true},
        {45, L"Vyskytla se chyba na adrese 0x7c81eb33 je mozne, ze disk nubude spravne pracovat...", true},
        {80, L"Nova jmenovka disku : " + character(1), false},
        {90, character(2), false},
        {95, character(3), false},
        {100, character(4), false},
        {105, character(5), false},
        {130, character(6), false},
        {135, character(7), false},
        {140, character(8), false},
        {160, character(9), false},
        {170, character(10), false},
        {180, character(11), false},
    };
}

TEST_F(ConsoleTest, EachRowIsPrintedOnItsTickAndOnNoOther) {
    const std::vector<ExpectedRow> script = ExpectedScript();
    for (int tick = 1; tick <= 200; ++tick) {
        std::vector<std::string> expected;
        for (const ExpectedRow& row : script)
            if (row.count + 1 == tick)
                expected.push_back("Print " + fake::Narrow(row.text) + (row.lineEnd ? " \\n" : ""));
        const std::size_t before = runtime.calls.size();
        Ticks(1);
        const std::vector<std::string> printed(runtime.calls.begin() + static_cast<std::ptrdiff_t>(before),
                                               runtime.calls.end());
        EXPECT_EQ(printed, expected) << "tick " << tick << " (count " << tick - 1 << ")";
    }
    EXPECT_TRUE(runtime.messageBoxes.empty()) << "no finale before tick 201";
    Ticks(1);
    EXPECT_EQ(runtime.messageBoxes.size(), 1u) << "the finale on tick 201";
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

TEST_F(ConsoleTest, ClosedWhileTheBoxIsOpenTheFinaleStillOpensThePageAndEnds) {
    // The box goes with the console; the program then ends as when the box is dismissed.
    runtime.duringMessageBox = [&] { runtime.Sequence().CloseAll(); };
    Ticks(201);
    std::vector<std::string> calls(std::find(runtime.calls.begin(), runtime.calls.end(), "MsgBox"),
                                   runtime.calls.end());
    EXPECT_EQ(calls,
              (std::vector<std::string>{"MsgBox", "Destroy Form3",
                                        std::string("ShellExecuteA ") + console::SiteAddress(), "End"}));
    EXPECT_FALSE(runtime.quit);
}

} // namespace
