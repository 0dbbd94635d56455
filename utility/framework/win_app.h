// The application object: one per program, created as a global. The
// framework's WinMain runs its InitInstance; a program whose work is one
// modal dialog returns FALSE there and ends when the dialog closes.
#pragma once

#include "platform/win32.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The message loop, for programs whose InitInstance returns TRUE.
    virtual int Run();
    virtual int ExitInstance();

    HICON LoadIcon(UINT nIDResource) const;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The program hosts only standard controls, so there is nothing to set up;
// kept so that an application starts as it always has.
void AfxEnableControlContainer();
