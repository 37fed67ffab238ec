// The question window: the beep, the two answers, the swap and the freeze.
#include "fake_runtime.h"
#include "question/form2.h"
#include "question/form2_layout.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

using app::Event;
using app::FormId;

namespace {

class QuestionTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime.Sequence().Start();
        runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
        ASSERT_NE(runtime.Loaded(FormId::Form2), nullptr);
    }
    std::ptrdiff_t IndexOf(const std::string& call) const {
        const auto found = std::find(runtime.calls.begin(), runtime.calls.end(), call);
        return found == runtime.calls.end() ? -1 : found - runtime.calls.begin();
    }
    fake::FakeRuntime runtime;
};

TEST_F(QuestionTest, BeepsOnceWhenCreatedBeforeItIsShown) {
    EXPECT_EQ(runtime.beeps, 1);
    EXPECT_LT(IndexOf("Create Form2"), IndexOf("Beep"));
    EXPECT_LT(IndexOf("Beep"), IndexOf("Show Form2"));
    runtime.Raise(FormId::Form2, question::Command1, Event::Click);
    EXPECT_EQ(runtime.beeps, 1);
}

TEST_F(QuestionTest, YesLeadsOnWithoutAPause) {
    runtime.Raise(FormId::Form2, question::Command1, Event::Click);
    EXPECT_TRUE(runtime.freezes.empty());
    EXPECT_NE(runtime.Loaded(FormId::Form3), nullptr);
}

TEST_F(QuestionTest, NoSwapsTheCaptionsThenFreezesThenLeadsOn) {
    const auto* state = runtime.State(FormId::Form2);
    EXPECT_EQ(state->controls.at(question::Command1).caption, L"ANO");
    EXPECT_EQ(state->controls.at(question::Command4).caption, L"NE");
    runtime.Raise(FormId::Form2, question::Command4, Event::Click);
    const auto swap1 = IndexOf("Caption Command1 NE");
    const auto swap4 = IndexOf("Caption Command4 ANO");
    const auto freeze = IndexOf("Freeze");
    const auto unload = IndexOf("Destroy Form2");
    ASSERT_GE(swap1, 0);
    EXPECT_LT(swap1, swap4);
    EXPECT_LT(swap4, freeze);
    EXPECT_LT(freeze, unload);
    EXPECT_LT(unload, IndexOf("Show Form3"));
    ASSERT_EQ(runtime.freezes.size(), 1u);
    // Felt, yet well short of Windows' five-second "Not Responding".
    EXPECT_GE(runtime.freezes[0], std::chrono::milliseconds(1000));
    EXPECT_LT(runtime.freezes[0], std::chrono::milliseconds(4000));
}

TEST_F(QuestionTest, FormLoadRunsOnceForTheWholeRun) {
    runtime.Raise(FormId::Form2, question::Command4, Event::Click);
    EXPECT_EQ(runtime.Sequence().TimesCreated(FormId::Form2), 1);
    EXPECT_EQ(std::count(runtime.calls.begin(), runtime.calls.end(), "Beep"), 1);
}

} // namespace
