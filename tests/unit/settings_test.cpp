// The settings window: every change enables "Použít", and nothing else does.
#include "fake_runtime.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <iterator>

using app::Event;
using app::FormId;

namespace {

TEST(Settings, EveryChangeEnablesApplyAndNothingElseDoes) {
    // Every control of the window, with the event a user raises on it: a check box or an option
    // button changed enables "Použít", and so does text typed into a combo box; a click on anything
    // else (a label, a group box, the picture, "Použít" itself) leaves it as it was.
    for (int control = 0; control < static_cast<int>(std::size(settings::kForm1Controls)); ++control) {
        const app::Kind kind = settings::kForm1Controls[control].kind;
        if (control == settings::Command1 || control == settings::Command2) continue; // they leave the window
        const bool change =
            kind == app::Kind::CheckBox || kind == app::Kind::OptionButton || kind == app::Kind::ComboBox;
        fake::FakeRuntime run;
        run.Sequence().Start();
        EXPECT_FALSE(run.State(FormId::Form1)->controls.at(settings::Command3).enabled);
        run.Raise(FormId::Form1, control, kind == app::Kind::ComboBox ? Event::Change : Event::Click);
        EXPECT_EQ(run.State(FormId::Form1)->controls.at(settings::Command3).enabled, change)
            << settings::kForm1Controls[control].name;
        EXPECT_NE(run.Loaded(FormId::Form1), nullptr);
    }
}

} // namespace
