// The standard controls the program binds: each is a window handle and the
// control's own messages.
#pragma once

#include "platform/win32.h"
#include "utility/framework/wnd.h"

class CStatic : public CWnd {};

class CListBox : public CWnd {
public:
    void ResetContent();
    int AddString(LPCSTR text);                  // index, or LB_ERR / LB_ERRSPACE
    int GetCurSel() const;                       // LB_ERR when nothing is selected
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;      // LB_ERR for a bad index
    int SetItemData(int index, DWORD_PTR data);
};

class CComboBox : public CWnd {
public:
    int AddString(LPCSTR text);                  // index, or CB_ERR / CB_ERRSPACE
    int GetCurSel() const;                       // CB_ERR when nothing is selected
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;      // CB_ERR for a bad index
    int SetItemData(int index, DWORD_PTR data);
};
