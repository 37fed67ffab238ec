// The settings window: every change enables "Použít".
#include "fake_runtime.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

using app::Event;
using app::FormId;

namespace {

TEST(Settings, EveryChangeEnablesApply) {
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
        EXPECT_FALSE(run.State(FormId::Form1)->controls.at(settings::Command3).enabled);
        run.Raise(FormId::Form1, control, event);
        EXPECT_TRUE(run.State(FormId::Form1)->controls.at(settings::Command3).enabled)
            << settings::kForm1Controls[control].name;
        EXPECT_NE(run.Loaded(FormId::Form1), nullptr);
    }
}

} // namespace
