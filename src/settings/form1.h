// The start-up window: a fake page of secret system settings whose lists are filled on load and
// whose every change enables "Použít".
#pragma once

#include "app/form.h"

namespace settings {

class Form1 final : public app::Form {
public:
    explicit Form1(app::WindowSequence& sequence) : Form(app::FormId::Form1, sequence) {}

    const app::FormLayout& Layout() const override;
    void Form_Load() override;
    bool Raise(int control, app::Event event) override;

    float ItemCounter = 0;

private:
    void EnableApply();

    void Combo1_Change() { EnableApply(); }
    void Combo2_Change() { EnableApply(); }
    void Combo3_Change() { EnableApply(); }
    void Combo4_Change() { EnableApply(); }
    void Combo5_Change() { EnableApply(); }
    void Check1_Click() { EnableApply(); }
    void Check2_Click() { EnableApply(); }
    void Check3_Click() { EnableApply(); }
    void Check4_Click() { EnableApply(); }
    void Check6_Click() { EnableApply(); }
    void Check7_Click() { EnableApply(); }
    void Option1_Click() { EnableApply(); }
    void Option2_Click() { EnableApply(); }
    void Command1_Click();
    void Command2_Click();
};

} // namespace settings
