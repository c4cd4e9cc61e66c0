// The new-record dialog: shows the score, takes the player's name and writes both to the
// best-result store on OK; tells the player when they were not written.
#include "win/new_record_dialog.h"

#include <cwchar>

#include "res/resource.h"
#include "win/best_result_store.h"
#include "win/czech_texts.h"

namespace {

// Both OK and Cancel end the dialog with this result; the caller does not look at it.
constexpr INT_PTR DIALOG_RESULT = IDCANCEL;

INT_PTR onInitDialog(HWND dialog, LPARAM score) {
    wchar_t prompt[1024] = {};
    std::swprintf(prompt, sizeof prompt / sizeof prompt[0], TEXT_NEW_RECORD_PROMPT,
                  static_cast<int>(static_cast<int32_t>(score)));
    SetDlgItemTextW(dialog, IDC_RECORD_PROMPT, prompt);
    SetWindowLongPtrW(dialog, GWLP_USERDATA, score);
    // The player types the name at once: with the focus left to the dialog manager it would
    // land on OK, the first tab stop, and a space in the name would press it.
    SetFocus(GetDlgItem(dialog, IDC_RECORD_NAME));
    return FALSE;  // keeps that focus
}

void onOk(HWND dialog) {
    uint32_t score = static_cast<uint32_t>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    wchar_t name[CHAMPION_BYTES] = {};
    GetDlgItemTextW(dialog, IDC_RECORD_NAME, name, CHAMPION_BYTES);
    switch (writeNewRecord(name, score)) {
    case RecordWrite::written: break;
    case RecordWrite::beatenMeanwhile:
        MessageBoxW(dialog, TEXT_RECORD_BEATEN_MEANWHILE, TEXT_RECORD_CAPTION, MB_ICONINFORMATION);
        break;
    case RecordWrite::failed:
        MessageBoxW(dialog, TEXT_RECORD_NOT_SAVED, TEXT_RECORD_CAPTION, MB_ICONWARNING);
        break;
    }
    EndDialog(dialog, DIALOG_RESULT);
}

INT_PTR onCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK: onOk(dialog); break;
    case IDCANCEL: EndDialog(dialog, DIALOG_RESULT); break;
    default: break;  // the name box's notifications
    }
    return TRUE;
}

INT_PTR CALLBACK NewRecordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog, lParam);
    case WM_COMMAND: return onCommand(dialog, wParam);
    default: return FALSE;
    }
}

}  // namespace

void checkNewRecord(HWND owner, uint32_t score) {
    if (score <= readBestScore()) return;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NEW_RECORD), owner,
                    NewRecordDialogProc, static_cast<LPARAM>(score));
}
