#include "utility/framework/wnd.h"

#include "utility/framework/dialog.h"
#include "utility/framework/win_app.h"

CWnd::~CWnd() {
    if (m_pfnSuper && m_hWnd) {
        // The object goes before its window: the window must not call into it.
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    }
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

BOOL CWnd::Attach(HWND window) {
    if (!window || m_hWnd) return FALSE;
    m_hWnd = window;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    m_hWnd = nullptr;
    return window;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : 0;
}

void CWnd::SetWindowText(LPCSTR text) {
    if (m_hWnd) ::SetWindowTextA(m_hWnd, text);
}

HMENU CWnd::GetSystemMenu(BOOL revert) const { return m_hWnd ? ::GetSystemMenu(m_hWnd, revert) : nullptr; }

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    const WPARAM which = bigIcon ? ICON_BIG : ICON_SMALL;
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::IsIconic() const { return m_hWnd && ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT rect) const {
    if (!m_hWnd || !::GetClientRect(m_hWnd, rect)) *rect = RECT{};
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    if (!m_hWnd) return FALSE;
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaint() { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnClose() { Default(); }

void CWnd::DoDataExchange(CDataExchange*) {}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = 0, id = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
        // Menus send 0 and accelerators 1, with no control: both are commands.
        if (lParam == 0 && code == 1) code = 0;
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->message; ++entry) {
            if (entry->message != message) continue;
            if (message == WM_COMMAND && (entry->id != id || entry->code != code)) continue;
            *result = entry->handler(this, wParam, lParam);
            return true;
        }
    }
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Dispatch(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

void CWnd::SubclassWindow(HWND window) {
    m_hWnd = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
}

void CWnd::ReleaseWindow() {
    for (CWnd* control : m_boundControls) control->Detach();
    m_boundControls.clear();
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    // The program's message loop, if it runs one, ends with its main window.
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);

    // Handlers may send messages to their own window: Default() must see the
    // message of its own invocation.
    const CurrentMessage outer = self->m_current;
    self->m_current = {message, wParam, lParam};
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    self->m_current = outer;

    if (message == WM_NCDESTROY) self->ReleaseWindow();
    return result;
}
