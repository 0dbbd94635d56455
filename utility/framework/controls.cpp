#include "utility/framework/controls.h"

namespace {

// An unbound control answers as an empty one.
LRESULT Send(const CWnd& control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT unbound) {
    return control.m_hWnd ? control.SendMessage(message, wParam, lParam) : unbound;
}

}  // namespace

void CListBox::ResetContent() { Send(*this, LB_RESETCONTENT, 0, 0, 0); }
int CListBox::AddString(LPCSTR text) { return int(Send(*this, LB_ADDSTRING, 0, LPARAM(text), LB_ERR)); }
int CListBox::GetCurSel() const { return int(Send(*this, LB_GETCURSEL, 0, 0, LB_ERR)); }
int CListBox::SetCurSel(int index) { return int(Send(*this, LB_SETCURSEL, WPARAM(index), 0, LB_ERR)); }
DWORD_PTR CListBox::GetItemData(int index) const {
    return DWORD_PTR(Send(*this, LB_GETITEMDATA, WPARAM(index), 0, LB_ERR));
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
    return int(Send(*this, LB_SETITEMDATA, WPARAM(index), LPARAM(data), LB_ERR));
}

int CComboBox::AddString(LPCSTR text) { return int(Send(*this, CB_ADDSTRING, 0, LPARAM(text), CB_ERR)); }
int CComboBox::GetCurSel() const { return int(Send(*this, CB_GETCURSEL, 0, 0, CB_ERR)); }
int CComboBox::SetCurSel(int index) { return int(Send(*this, CB_SETCURSEL, WPARAM(index), 0, CB_ERR)); }
DWORD_PTR CComboBox::GetItemData(int index) const {
    return DWORD_PTR(Send(*this, CB_GETITEMDATA, WPARAM(index), 0, CB_ERR));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
    return int(Send(*this, CB_SETITEMDATA, WPARAM(index), LPARAM(data), CB_ERR));
}
