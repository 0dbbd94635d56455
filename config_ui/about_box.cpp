#include "config_ui/about_box.h"

#include "config_ui/resource_ids.h"
#include "platform/module_handle.h"

namespace lumacore {

void ShowAboutBox(HWND parent) {
    DialogBoxParamA(ModuleHandle(), MAKEINTRESOURCEA(IDD_ABOUT), parent, &AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            char text[64];
            wsprintfA(text, kVersionFormat, kVersionMajor, kVersionMinor, kVersionBuild);
            SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, text);
            return TRUE;
        }
        case WM_COMMAND: {
            const WORD id = LOWORD(wparam);
            if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace lumacore
