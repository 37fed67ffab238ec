// The window sequence: which windows exist when, and when the program ends.
#include "fake_runtime.h"
#include "question/form2_layout.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using app::Event;
using app::FormId;

namespace {

std::vector<std::string> WindowCalls(const fake::FakeRuntime& runtime) {
    std::vector<std::string> out;
    for (const std::string& call : runtime.calls)
        if (call.starts_with("Create") || call.starts_with("Show") || call.starts_with("Destroy") ||
            call.starts_with("Caption") || call == "End" || call == "Quit" || call == "Beep" ||
            call == "Freeze" || call.starts_with("Move"))
            out.push_back(call);
    return out;
}

class SequenceTest : public ::testing::Test {
protected:
    void SetUp() override { runtime.Sequence().Start(); }
    fake::FakeRuntime runtime;
};

TEST_F(SequenceTest, StartLoadsTheSettingsWindowBeforeShowingIt) {
    // Form_Load fills the lists between creation and showing.
    const auto create = std::find(runtime.calls.begin(), runtime.calls.end(), "Create Form1");
    const auto show = std::find(runtime.calls.begin(), runtime.calls.end(), "Show Form1");
    const auto firstItem = std::find_if(runtime.calls.begin(), runtime.calls.end(),
                                        [](const std::string& c) { return c.starts_with("AddItem"); });
    ASSERT_NE(show, runtime.calls.end());
    EXPECT_LT(create, firstItem);
    EXPECT_LT(firstItem, show);
    EXPECT_FALSE(runtime.quit);
}

TEST_F(SequenceTest, OkUnloadsTheSettingsWindowThenShowsTheQuestion) {
    runtime.calls.clear();
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    EXPECT_EQ(WindowCalls(runtime),
              (std::vector<std::string>{"Destroy Form1", "Create Form2", "Beep", "Show Form2"}));
    EXPECT_EQ(runtime.Loaded(FormId::Form1), nullptr);
    EXPECT_NE(runtime.Loaded(FormId::Form2), nullptr);
    // The moment without any window inside the handler does not end the program.
    EXPECT_FALSE(runtime.quit);
    EXPECT_FALSE(runtime.ended);
}

TEST_F(SequenceTest, NoSwapsTheCaptionsThenFreezesThenLeadsOn) {
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    runtime.calls.clear();
    runtime.Raise(FormId::Form2, question::Command4, Event::Click);
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"Caption Command1 NE", "Caption Command4 ANO",
                                                              "Freeze", "Destroy Form2", "Create Form3",
                                                              "Move 0 0 15360 11520", "Show Form3"}));
    // Two seconds: felt as a hang, well before Windows calls the window not responding (5 s).
    EXPECT_EQ(runtime.freezes, std::vector<std::chrono::milliseconds>{std::chrono::seconds(2)});
}

TEST_F(SequenceTest, AWindowClosedDuringTheFreezeEndsTheProgramWithoutTheConsole) {
    // Posted to every window or sent to the question alone: once the freeze is over, nothing more
    // shows and the program ends.
    const std::function<void(fake::FakeRuntime&)> closes[] = {
        [](fake::FakeRuntime& r) { r.Sequence().CloseAll(); },
        [](fake::FakeRuntime& r) { r.Sequence().Close(*r.Loaded(FormId::Form2)); },
    };
    for (const auto& close : closes) {
        fake::FakeRuntime frozen;
        frozen.Sequence().Start();
        frozen.Raise(FormId::Form1, settings::Command1, Event::Click);
        frozen.duringFreeze = [&] { close(frozen); };
        frozen.calls.clear();
        frozen.Raise(FormId::Form2, question::Command4, Event::Click);
        EXPECT_EQ(WindowCalls(frozen),
                  (std::vector<std::string>{"Caption Command1 NE", "Caption Command4 ANO", "Freeze",
                                            "Destroy Form2", "Quit"}));
        EXPECT_EQ(frozen.Sequence().TimesCreated(FormId::Form3), 0);
        EXPECT_FALSE(frozen.ended);
    }
}

TEST_F(SequenceTest, AClickOnAnoDuringTheFreezeRunsNoHandlerInsideTheFirst) {
    // Sent to the button while the question is frozen (as UI Automation's "invoke" does): the
    // freeze goes on to its end and leads to one console, created once.
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    runtime.duringFreeze = [&] { runtime.Raise(FormId::Form2, question::Command1, Event::Click); };
    runtime.calls.clear();
    runtime.Raise(FormId::Form2, question::Command4, Event::Click);
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"Caption Command1 NE", "Caption Command4 ANO",
                                                              "Freeze", "Destroy Form2", "Create Form3",
                                                              "Move 0 0 15360 11520", "Show Form3"}));
    EXPECT_EQ(runtime.Sequence().TimesCreated(FormId::Form3), 1);
}

TEST_F(SequenceTest, EventsForAWindowAlreadyUnloadedAreIgnored) {
    app::Form* settingsWindow = runtime.Loaded(FormId::Form1);
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    runtime.calls.clear();
    // A click queued before the window went away must not run its handler a second time.
    runtime.Sequence().Deliver(*settingsWindow, settings::Command1, Event::Click);
    EXPECT_TRUE(runtime.calls.empty());
    EXPECT_EQ(runtime.Sequence().TimesCreated(FormId::Form2), 1);
}

} // namespace
