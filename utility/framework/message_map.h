// Message maps: each window class lists the messages it handles and the
// member that handles each. A map names its base class's map, so a message a
// class does not handle falls through to its bases, then to the window's
// default processing.
#pragma once

#include "platform/win32.h"

class CWnd;

struct AFX_MSGMAP_ENTRY {
    UINT message;  // 0 ends the map
    UINT code;     // WM_COMMAND entries: the notification code
    UINT id;       // WM_COMMAND entries: the control or command id
    LRESULT (*handler)(CWnd* target, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*base)();  // null at the root
    const AFX_MSGMAP_ENTRY* entries;
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

// The entries are lambdas converted to plain function pointers; being written
// inside a member of the class, they may call its protected handlers.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
        using ThisClass [[maybe_unused]] = theClass;                                     \
        using TheBaseClass = baseClass;                                                  \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                           \
        {0, 0, 0, nullptr}};                                                        \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};  \
        return &map;                                                                \
    }

#define AFX_MAP_ENTRY_(message, code, id, body)                                                   \
    {message, code, id,                                                                           \
     [](CWnd* target_, [[maybe_unused]] WPARAM wParam, [[maybe_unused]] LPARAM lParam) -> LRESULT body},

#define AFX_THIS_ static_cast<ThisClass*>(target_)

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    AFX_MAP_ENTRY_(WM_SYSCOMMAND, 0, 0, { AFX_THIS_->OnSysCommand(UINT(wParam), lParam); return 0; })
// void OnPaint()
#define ON_WM_PAINT() AFX_MAP_ENTRY_(WM_PAINT, 0, 0, { AFX_THIS_->OnPaint(); return 0; })
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    AFX_MAP_ENTRY_(WM_QUERYDRAGICON, 0, 0, { return reinterpret_cast<LRESULT>(AFX_THIS_->OnQueryDragIcon()); })
// void OnClose()
#define ON_WM_CLOSE() AFX_MAP_ENTRY_(WM_CLOSE, 0, 0, { AFX_THIS_->OnClose(); return 0; })

// void memberFxn(): a command (menu, accelerator, button click) or a control's
// notification.
#define ON_COMMAND(id, memberFxn) AFX_MAP_ENTRY_(WM_COMMAND, 0, id, { AFX_THIS_->memberFxn(); return 0; })
#define ON_CONTROL(code, id, memberFxn) AFX_MAP_ENTRY_(WM_COMMAND, code, id, { AFX_THIS_->memberFxn(); return 0; })
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
