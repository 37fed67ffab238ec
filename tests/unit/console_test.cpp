// The console's script: what appears on which tick, and the finale under ticks and a close request while
// its box is open.
#include "console/form3.h"
#include "console/form3_layout.h"
#include "console/site.h"
#include "fake_runtime.h"
#include "question/form2_layout.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

using app::Event;
using app::FormId;

namespace {

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
    const auto character = [](std::size_t n) { return std::wstring(1, site::kVolumeLabel[n - 1]); }; // from 1
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
        std::wstring expected;
        for (const ExpectedRow& row : script)
            if (row.count + 1 == tick) expected += row.text + (row.lineEnd ? L"\n" : L"");
        const std::size_t before = runtime.printed.size();
        Ticks(1);
        EXPECT_EQ(runtime.printed.substr(before), expected)
            << "tick " << tick << " (count " << tick - 1 << ")";
    }
    EXPECT_TRUE(runtime.messageBoxes.empty()) << "no finale before tick 201";
    Ticks(1);
    EXPECT_EQ(runtime.messageBoxes.size(), 1u) << "the finale on tick 201";
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
