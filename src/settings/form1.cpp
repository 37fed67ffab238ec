#include "settings/form1.h"

#include "app/number_text.h"
#include "settings/form1_layout.h"

namespace settings {

const app::FormLayout& Form1::Layout() const {
    return kForm1Layout;
}

bool Form1::Raise(int control, app::Event event) {
    using E = app::Event;
    static constexpr app::Handler<Form1> kHandlers[] = {
        {Combo1, E::Change, &Form1::Combo1_Change},   {Combo2, E::Change, &Form1::Combo2_Change},
        {Combo3, E::Change, &Form1::Combo3_Change},   {Combo4, E::Change, &Form1::Combo4_Change},
        {Combo5, E::Change, &Form1::Combo5_Change},   {Check1, E::Click, &Form1::Check1_Click},
        {Check2, E::Click, &Form1::Check2_Click},     {Check3, E::Click, &Form1::Check3_Click},
        {Check4, E::Click, &Form1::Check4_Click},     {Check6, E::Click, &Form1::Check6_Click},
        {Check7, E::Click, &Form1::Check7_Click},     {Option1, E::Click, &Form1::Option1_Click},
        {Option2, E::Click, &Form1::Option2_Click},   {Command1, E::Click, &Form1::Command1_Click},
        {Command2, E::Click, &Form1::Command2_Click},
    };
    return app::Dispatch(*this, kHandlers, control, event);
}

void Form1::Form_Load() {
    // Counted in single precision, the two number lists filled entry by entry.
    for (ItemCounter = 0; ItemCounter <= 59; ItemCounter += 1) {
        const auto text = app::NumberText(ItemCounter + 1);
        window().AddItem(Combo1, text.view(), static_cast<int>(ItemCounter));
        window().AddItem(Combo3, text.view(), static_cast<int>(ItemCounter));
    }
    window().AddItem(Combo2, L"Sekundách", 0);
    window().AddItem(Combo2, L"Minutách", 1);
    window().AddItem(Combo2, L"Hodinách", 2);
    window().AddItem(Combo4, L"Dlouho", 0);
    window().AddItem(Combo4, L"Mrtě dlouho", 1);
    window().AddItem(Combo4, L"Zasraně dlouho", 2);
    window().AddItem(Combo4, L"Neskutečně dlouho", 3);
    window().AddItem(Combo4, L"Zkurvěně dlouho", 4);
    window().AddItem(Combo4, L"Neomezeně dlouho", 5);
    window().AddItem(Combo5, L"1x", 0);
    window().AddItem(Combo5, L"2x", 1);
    window().AddItem(Combo5, L"5x", 2);
    window().AddItem(Combo5, L"10x", 3);
    window().AddItem(Combo5, L"Jak to jen jde", 4);
}

void Form1::EnableApply() {
    window().SetEnabled(Command3, true);
}

void Form1::Command1_Click() {
    Unload();
    Show(app::FormId::Form2);
}

void Form1::Command2_Click() {
    End();
}

} // namespace settings
