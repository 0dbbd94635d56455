#include "utility/setwright_app.h"

#include "utility/setwright_dlg.h"

CSetwrightApp theApp;

BOOL CSetwrightApp::InitInstance() {
    AfxEnableControlContainer();
    CSetwrightDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // No message loop: the dialog was the whole program.
    return FALSE;
}
