// The settings window: every change enables "Použít", and nothing else does.
#include "fake_runtime.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

using app::Event;
using app::FormId;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime.Sequence().Start();
        state = runtime.State(FormId::Form1);
        ASSERT_NE(state, nullptr);
    }
    const fake::ControlState& Control(int control) const { return state->controls.at(control); }

    fake::FakeRuntime runtime;
    fake::WindowState* state = nullptr;
};

TEST_F(SettingsTest, EveryChangeEnablesApply) {
    const std::pair<int, Event> changes[] = {
        {settings::Combo1, Event::Change}, {settings::Combo2, Event::Change},
        {settings::Combo3, Event::Change}, {settings::Combo4, Event::Change},
        {settings::Combo5, Event::Change}, {settings::Check1, Event::Click},
        {settings::Check2, Event::Click},  {settings::Check3, Event::Click},
        {settings::Check4, Event::Click},  {settings::Check6, Event::Click},
        {settings::Check7, Event::Click},  {settings::Option1, Event::Click},
        {settings::Option2, Event::Click},
    };
    for (auto [control, event] : changes) {
        fake::FakeRuntime run;
        run.Sequence().Start();
        run.Raise(FormId::Form1, control, event);
        EXPECT_TRUE(run.State(FormId::Form1)->controls.at(settings::Command3).enabled)
            << settings::kForm1Controls[control].name;
        EXPECT_NE(run.Loaded(FormId::Form1), nullptr);
    }
}

TEST_F(SettingsTest, ChoosingAListEntryOrPressingApplyDoesNothing) {
    // Neither a list choice (no Change), a click on the labels, frames or picture, nor on
    // "Použít" has a handler.
    runtime.calls.clear();
    for (int control : {settings::Command3, settings::Label1, settings::Frame1, settings::Image1})
        runtime.Raise(FormId::Form1, control, Event::Click);
    EXPECT_TRUE(runtime.calls.empty());
    EXPECT_FALSE(Control(settings::Command3).enabled);
}

TEST_F(SettingsTest, ApplyStaysEnabledAfterFurtherChanges) {
    runtime.Raise(FormId::Form1, settings::Check1, Event::Click);
    runtime.Raise(FormId::Form1, settings::Check1, Event::Click);
    runtime.Raise(FormId::Form1, settings::Command3, Event::Click);
    EXPECT_TRUE(Control(settings::Command3).enabled);
}

} // namespace
