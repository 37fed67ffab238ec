// The full-screen console that types a fake format of drive C:, then reveals the joke, opens the
// author's page and ends the program.
#pragma once

#include "app/form.h"

#include <string_view>

namespace console {

class Form3 final : public app::Form {
public:
    explicit Form3(app::WindowSequence& sequence) : Form(app::FormId::Form3, sequence) {}

    const app::FormLayout& Layout() const override;
    void Form_Load() override;
    bool Raise(int control, app::Event event) override;

    float TickCounter = 0;

private:
    void Timer1_Timer();
    void Form_DisplayChange();
    void CoverScreen();
    void Finale();
};

// The finale's message: six lines, the second and the fifth empty.
std::wstring_view FinalePrompt();
// What the finale asks the shell to open.
const char* SiteAddress();

} // namespace console
