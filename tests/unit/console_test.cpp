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
// that a slip in either shows. The label's characters come at these counts, one a count, as far
// as the label goes.
struct ExpectedRow {
    int count;
    std::wstring text;
    bool lineEnd;
};
inline constexpr int kLabelCounts[] = {80, 90, 95, 100, 105, 130, 135, 140, 160, 170, 180};

std::vector<ExpectedRow> ExpectedScript(std::string_view label) {
    std::vector<ExpectedRow> script{
        {1, L"C:\\", true},
        {2, L"C:\\WINDOWS\\format c:", true},
        {3, L"Opravdu si prejete zformatovat disk c: ? (A/N)", true},
        {15, L"A", true},
        {18, L"", true},
        {20, L"Prosim cekejte, formatuji disk C:", true},
        {25, L"", true},
        {45, L"Vyskytla se chyba na adrese 0x7c81eb33 je mozne, ze disk nubude spravne pracovat...", true},
    };
    for (std::size_t i = 0; i < label.size(); ++i)
        script.push_back(
            {kLabelCounts[i], (i ? L"" : L"Nova jmenovka disku : ") + std::wstring(1, label[i]), false});
    return script;
}

TEST_F(ConsoleTest, EachRowIsPrintedOnItsTickAndOnNoOther) {
    // Built with the shipped label, and with labels of other lengths (tests/unit/CMakeLists.txt):
    // each character at its count, nothing typed after the label, the finale at count 200 all the
    // same.
#ifdef EXPECTED_VOLUME_LABEL
    ASSERT_EQ(site::kVolumeLabel, EXPECTED_VOLUME_LABEL);
#endif
    const std::vector<ExpectedRow> script = ExpectedScript(site::kVolumeLabel);
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
