// The console's script as it runs: what appears on which tick, and the finale under ticks and a
// close request while its box is open.
#include "console/form3.h"
#include "console/form3_layout.h"
#include "console/form3_script.h"
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

TEST_F(ConsoleTest, EachRowIsPrintedOnItsTickAndOnNoOther) {
    // Built with the shipped label, and with labels of other lengths (tests/unit/CMakeLists.txt):
    // the row for count c on tick c + 1, nothing else, and the finale on tick 201 all the same.
#ifdef EXPECTED_VOLUME_LABEL
    ASSERT_EQ(site::kVolumeLabel, EXPECTED_VOLUME_LABEL);
#endif
    std::wstring label;
    for (int tick = 1; tick <= 200; ++tick) {
        std::wstring expected;
        for (const console::ScriptRow& row : console::kScript) {
            if (row.count + 1 != tick) continue;
            expected += row.text;
            if (row.labelChar != console::kNoLabelChar) {
                EXPECT_EQ(row.labelChar, static_cast<int>(label.size())) << "the label's characters in turn";
                label += static_cast<wchar_t>(site::kVolumeLabel[row.labelChar]);
                expected += label.back();
            }
            expected += row.lineEnd ? L"\n" : L"";
        }
        const std::size_t before = runtime.printed.size();
        Ticks(1);
        EXPECT_EQ(runtime.printed.substr(before), expected)
            << "tick " << tick << " (count " << tick - 1 << ")";
    }
    EXPECT_EQ(label, std::wstring(site::kVolumeLabel.begin(), site::kVolumeLabel.end()))
        << "the label typed whole";
    EXPECT_TRUE(runtime.printed.starts_with(L"C:\\\n")) << "the prompt first, on tick 2";
    EXPECT_TRUE(runtime.printed.ends_with(L"Nova jmenovka disku : " + label))
        << "the label last, on its line";
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
