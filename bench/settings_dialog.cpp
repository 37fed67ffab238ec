// The second yardstick: the program's settings window built the classic way, from a dialog
// template (settings_dialog.rc), shown modeless, with a message loop that hands keys to
// IsDialogMessageW. It shows what the platform itself costs for these controls, lists and
// manifest, so that the program's start-up and memory can be set against it as well as against
// the bare window.
#include "settings_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

namespace {

void AddItems(HWND dialog, int combo, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items)
        SendDlgItemMessageW(dialog, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void SetIcon(HWND dialog, WPARAM which, int size) {
    const HANDLE icon =
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageW(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

// Fills the lists as the program does on load: the two number lists entry by entry, in turn.
void Fill(HWND dialog) {
    for (int number = 1; number <= 60; ++number) {
        wchar_t text[4];
        wsprintfW(text, L"%d", number);
        SendDlgItemMessageW(dialog, IDC_COMBO1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageW(dialog, IDC_COMBO3, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    AddItems(dialog, IDC_COMBO2, {L"Sekundách", L"Minutách", L"Hodinách"});
    AddItems(dialog, IDC_COMBO4,
             {L"Dlouho", L"Mrtě dlouho", L"Zasraně dlouho", L"Neskutečně dlouho", L"Zkurvěně dlouho",
              L"Neomezeně dlouho"});
    AddItems(dialog, IDC_COMBO5, {L"1x", L"2x", L"5x", L"10x", L"Jak to jen jde"});
    SetDlgItemTextW(dialog, IDC_COMBO1, L"2");
    SetDlgItemTextW(dialog, IDC_COMBO2, L"Hodinách");
    SetDlgItemTextW(dialog, IDC_COMBO3, L"5");
    SetDlgItemTextW(dialog, IDC_COMBO4, L"Zasraně dlouho");
    SetDlgItemTextW(dialog, IDC_COMBO5, L"Jak to jen jde");
    // A template has no "checked" state for buttons.
    for (int check : {IDC_CHECK1, IDC_CHECK2, IDC_CHECK3, IDC_CHECK4, IDC_CHECK6, IDC_CHECK7})
        CheckDlgButton(dialog, check, BST_CHECKED);
    CheckRadioButton(dialog, IDC_OPTION1, IDC_OPTION2, IDC_OPTION2);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // A dialog's class has no icon: the program's class icons, big and small, set here.
        SetIcon(dialog, ICON_BIG, GetSystemMetrics(SM_CXICON));
        SetIcon(dialog, ICON_SMALL, GetSystemMetrics(SM_CXSMICON));
        Fill(dialog);
        return TRUE;
    case WM_COMMAND:
        // Closing the window comes here too: the dialog manager turns it into "Storno".
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // As the program does: the standard controls of Common Controls 6, which the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    if (!InitCommonControlsEx(&controls)) return 1;
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, &DialogProc, 0);
    if (!dialog) return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
