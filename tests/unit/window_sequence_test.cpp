// The window sequence: which windows exist when, and when the program ends.
#include "console/form3_layout.h"
#include "fake_runtime.h"
#include "question/form2_layout.h"
#include "settings/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

using app::Event;
using app::FormId;

namespace {

std::vector<std::string> WindowCalls(const fake::FakeRuntime& runtime) {
    std::vector<std::string> out;
    for (const std::string& call : runtime.calls)
        if (call.starts_with("Create") || call.starts_with("Show") || call.starts_with("Destroy") ||
            call == "End" || call == "Quit" || call == "Beep" || call == "Freeze" || call.starts_with("Move"))
            out.push_back(call);
    return out;
}

class SequenceTest : public ::testing::Test {
protected:
    void SetUp() override { runtime.Sequence().Start(); }
    fake::FakeRuntime runtime;
};

TEST_F(SequenceTest, StartLoadsTheSettingsWindowBeforeShowingIt) {
    ASSERT_NE(runtime.Loaded(FormId::Form1), nullptr);
    EXPECT_EQ(runtime.Loaded(FormId::Form2), nullptr);
    EXPECT_EQ(runtime.Loaded(FormId::Form3), nullptr);
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

TEST_F(SequenceTest, StornoEndsAtOnceWithoutAnotherWindow) {
    runtime.calls.clear();
    runtime.Raise(FormId::Form1, settings::Command2, Event::Click);
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"End"}));
    EXPECT_TRUE(runtime.ended);
    EXPECT_TRUE(runtime.messageBoxes.empty());
}

TEST_F(SequenceTest, EitherAnswerLeadsToTheConsoleCoveringTheScreen) {
    for (int answer : {question::Command1, question::Command4}) {
        fake::FakeRuntime run;
        run.screenWidth = 19200; // 1280 x 1024 at 96 DPI
        run.screenHeight = 15360;
        run.Sequence().Start();
        run.Raise(FormId::Form1, settings::Command1, Event::Click);
        run.calls.clear();
        run.Raise(FormId::Form2, answer, Event::Click);
        const auto calls = WindowCalls(run);
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[calls.size() - 4], "Destroy Form2");
        EXPECT_EQ(calls[calls.size() - 3], "Create Form3");
        EXPECT_EQ(calls[calls.size() - 2], "Move 0 0 19200 15360");
        EXPECT_EQ(calls[calls.size() - 1], "Show Form3");
        EXPECT_EQ(run.Loaded(FormId::Form2), nullptr);
        EXPECT_NE(run.Loaded(FormId::Form3), nullptr);
        EXPECT_FALSE(run.quit);
    }
}

TEST_F(SequenceTest, ClosingTheSettingsWindowEndsTheProgramAndShowsNothingElse) {
    runtime.calls.clear();
    runtime.CloseByUser(FormId::Form1);
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"Destroy Form1", "Quit"}));
}

TEST_F(SequenceTest, ClosingTheQuestionWindowEndsTheProgramWithoutTheConsole) {
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    runtime.calls.clear();
    runtime.CloseByUser(FormId::Form2);
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"Destroy Form2", "Quit"}));
    EXPECT_EQ(runtime.Sequence().TimesCreated(FormId::Form3), 0);
}

TEST_F(SequenceTest, ClosingEveryWindowAtOnceEndsTheProgramAtEveryStage) {
    // As "End task" asks the program as a whole: whichever window is up goes, and nothing follows.
    runtime.calls.clear();
    runtime.Sequence().CloseAll();
    EXPECT_EQ(WindowCalls(runtime), (std::vector<std::string>{"Destroy Form1", "Quit"}));

    fake::FakeRuntime atTheConsole;
    atTheConsole.Sequence().Start();
    atTheConsole.Raise(FormId::Form1, settings::Command1, Event::Click);
    atTheConsole.Raise(FormId::Form2, question::Command1, Event::Click);
    atTheConsole.calls.clear();
    atTheConsole.Sequence().CloseAll();
    EXPECT_EQ(WindowCalls(atTheConsole), (std::vector<std::string>{"Destroy Form3", "Quit"}));
    EXPECT_TRUE(atTheConsole.messageBoxes.empty());
    EXPECT_TRUE(atTheConsole.openedAddresses.empty());
}

TEST_F(SequenceTest, EveryWindowIsCreatedOnceInAWholeRun) {
    runtime.Raise(FormId::Form1, settings::Command1, Event::Click);
    runtime.Raise(FormId::Form2, question::Command4, Event::Click);
    for (int tick = 0; tick <= 200; ++tick)
        runtime.Raise(FormId::Form3, console::Timer1, Event::Timer);
    EXPECT_TRUE(runtime.ended);
    for (FormId id : {FormId::Form1, FormId::Form2, FormId::Form3})
        EXPECT_EQ(runtime.Sequence().TimesCreated(id), 1);
    EXPECT_EQ(std::count(runtime.calls.begin(), runtime.calls.end(), "Beep"), 1);
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
