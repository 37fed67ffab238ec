// The settings window: its lists, "Použít", and the two buttons that leave it.
#include "fake_runtime.h"
#include "settings/form1.h"
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

TEST_F(SettingsTest, LoadingFillsTheFiveListsInOrder) {
    std::vector<std::wstring> numbers;
    for (int i = 1; i <= 60; ++i)
        numbers.push_back(std::to_wstring(i));
    EXPECT_EQ(Control(settings::Combo1).items, numbers);
    EXPECT_EQ(Control(settings::Combo3).items, numbers);
    EXPECT_EQ(Control(settings::Combo2).items,
              (std::vector<std::wstring>{L"Sekundách", L"Minutách", L"Hodinách"}));
    EXPECT_EQ(Control(settings::Combo4).items,
              (std::vector<std::wstring>{L"Dlouho", L"Mrtě dlouho", L"Zasraně dlouho", L"Neskutečně dlouho",
                                         L"Zkurvěně dlouho", L"Neomezeně dlouho"}));
    EXPECT_EQ(Control(settings::Combo5).items,
              (std::vector<std::wstring>{L"1x", L"2x", L"5x", L"10x", L"Jak to jen jde"}));
}

TEST_F(SettingsTest, NumberListsAreFilledInterleavedAtTheCountersIndex) {
    std::vector<std::string> adds;
    for (const std::string& call : runtime.calls)
        if (call.starts_with("AddItem Combo1") || call.starts_with("AddItem Combo3")) adds.push_back(call);
    ASSERT_EQ(adds.size(), 120u);
    EXPECT_EQ(adds[0], "AddItem Combo1 0 1");
    EXPECT_EQ(adds[1], "AddItem Combo3 0 1");
    EXPECT_EQ(adds[118], "AddItem Combo1 59 60");
    EXPECT_EQ(adds[119], "AddItem Combo3 59 60");
    const auto* form = static_cast<const settings::Form1*>(runtime.Loaded(FormId::Form1));
    EXPECT_EQ(form->ItemCounter, 60.0f);
}

TEST_F(SettingsTest, LoadingChangesNoEditTextAndLeavesApplyDisabled) {
    EXPECT_EQ(Control(settings::Combo1).caption, L"2");
    EXPECT_EQ(Control(settings::Combo2).caption, L"Hodinách");
    EXPECT_EQ(Control(settings::Combo3).caption, L"5");
    EXPECT_EQ(Control(settings::Combo4).caption, L"Zasraně dlouho");
    EXPECT_EQ(Control(settings::Combo5).caption, L"Jak to jen jde");
    EXPECT_FALSE(Control(settings::Command3).enabled);
    for (const std::string& call : runtime.calls)
        EXPECT_FALSE(call.starts_with("Caption") || call.starts_with("Enabled"));
}

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
