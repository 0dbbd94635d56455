// CWnd: a C++ object bound to a window handle. Windows the framework creates
// (dialogs) are subclassed, so their messages go through the class's message
// map first and to the window's own procedure only when nothing handles them
// or a handler asks for the default processing.
#pragma once

#include <vector>

#include "platform/win32.h"
#include "utility/framework/message_map.h"

class CDataExchange;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Binds this object to an existing window without taking over its messages.
    BOOL Attach(HWND window);
    HWND Detach();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetWindowText(LPCSTR text);
    HMENU GetSystemMenu(BOOL revert) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;
    BOOL DestroyWindow();

    // Runs DoDataExchange: controls are bound to their windows; `saveAndValidate`
    // says whether values go from the controls to the object.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
    // Handlers the message-map macros call when a class does not define its own.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();

    virtual void DoDataExchange(CDataExchange* pDX);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // The window's own processing of the message being handled now.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Routes the window's messages through WindowProc from now on.
    void SubclassWindow(HWND window);

private:
    friend void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void ReleaseWindow();

    WNDPROC m_pfnSuper = nullptr;
    CurrentMessage m_current{};
    std::vector<CWnd*> m_boundControls;  // bound by DDX_Control, released with this window
};
