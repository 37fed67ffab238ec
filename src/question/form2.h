// The fake exception report that asks whether drive C: may be formatted. Either answer leads to
// the console; "NE" first swaps the two captions and freezes the program for a moment.
#pragma once

#include "app/form.h"

#include <chrono>

namespace question {

// Long enough to be felt, well short of the five seconds after which Windows greys out a window
// that does not answer.
inline constexpr std::chrono::milliseconds kFreezeLength{2000};

class Form2 final : public app::Form {
public:
    explicit Form2(app::WindowSequence& sequence) : Form(app::FormId::Form2, sequence) {}

    const app::FormLayout& Layout() const override;
    void Form_Load() override;
    bool Raise(int control, app::Event event) override;

private:
    void Command1_Click();
    void Command4_Click();
};

} // namespace question
