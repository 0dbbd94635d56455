// Modal dialogs from templates, and the data exchange that binds a dialog's
// control objects to the template's controls.
#pragma once

#include "platform/win32.h"
#include "utility/framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds `rControl` to the dialog's control `nIDC` (once; later exchanges keep
// the binding). A template without that control leaves the object unbound,
// and calls on it then do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog and returns what ended it (IDOK, IDCANCEL, ...), or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

protected:
    // Binds the controls. Returning TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Enter and Esc, and the OK and Cancel buttons when a template has them.
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
