#include "tests/setwright/setwright_driver.h"

#include "tests/setwright/test_support.h"

namespace setwright_test {

namespace {

struct WindowSearch {
    DWORD pid;
    const char* caption;  // null: every window
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    if (search->caption && WindowText(window) != search->caption) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProcessWindows(DWORD pid) {
    WindowSearch search{pid, nullptr, {}};
    EnumWindows(&CollectWindow, LPARAM(&search));
    return search.found;
}

HWND WaitForProcessWindow(DWORD pid, const char* caption, DWORD timeout_ms) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            WindowSearch search{pid, caption, {}};
            EnumWindows(&CollectWindow, LPARAM(&search));
            if (!search.found.empty()) found = search.found.front();
            return found != nullptr;
        },
        timeout_ms);
    if (found) Sleep(300);  // let it finish painting
    return found;
}

namespace {

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(char(c));
    return s;
}

// The item texts of a list box or a combo box in another process. Wine hands
// such texts across processes in UTF-16 whichever form was asked for, so the
// wide messages are used.
std::vector<Item> Items(HWND control, UINT count_message, UINT length_message, UINT text_message, UINT data_message) {
    std::vector<Item> items;
    const LRESULT count = SendMessageW(control, count_message, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, length_message, WPARAM(i), 0);
        std::wstring text(length > 0 ? std::size_t(length) + 1 : 1, L'\0');
        const LRESULT got = SendMessageW(control, text_message, WPARAM(i), LPARAM(text.data()));
        text.resize(got > 0 && got <= length ? std::size_t(got) : 0);
        items.push_back({Narrow(text), DWORD_PTR(SendMessageW(control, data_message, WPARAM(i), 0))});
    }
    return items;
}

}  // namespace

std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    const int n = GetWindowTextW(window, text, 1024);
    return Narrow(std::wstring(text, n > 0 ? n : 0));
}

std::vector<Item> ListItems(HWND list) {
    return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETITEMDATA);
}

std::vector<Item> ComboItems(HWND combo) {
    return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETITEMDATA);
}

Setwright::~Setwright() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        // Modal windows a failed test left open go first.
        for (HWND window : ProcessWindows(pid())) {
            if (window != window_) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info_.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Setwright::Start() {
    std::string program = EnvPath("LUMACORE_SETWRIGHT");
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        info_ = {};
        return false;
    }
    window_ = WaitForProcessWindow(pid(), kMainCaption, 30000);
    return window_ != nullptr;
}

POINT Setwright::ItemPoint(int index) const {
    HWND box = list();
    SendMessageA(box, LB_SETTOPINDEX, WPARAM(index), 0);
    const int top = int(SendMessageA(box, LB_GETTOPINDEX, 0, 0));
    const int height = int(SendMessageA(box, LB_GETITEMHEIGHT, 0, 0));
    return POINT{20, (index - top) * height + height / 2};
}

void Setwright::Click(int index) const {
    const POINT p = ItemPoint(index);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageA(list(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list(), WM_LBUTTONUP, 0, at);
}

void Setwright::DoubleClick(int index) const {
    const POINT p = ItemPoint(index);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageA(list(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list(), WM_LBUTTONUP, 0, at);
    PostMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list(), WM_LBUTTONUP, 0, at);
}

void Setwright::NextType() const { PostMessageA(type(), WM_KEYDOWN, VK_DOWN, 0); }
void Setwright::PreviousType() const { PostMessageA(type(), WM_KEYDOWN, VK_UP, 0); }

bool Setwright::ChooseLastSystemMenuItem() const {
    PostMessageA(window_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    // Keys that arrive before the menu is up are lost to it.
    const bool opened = WaitUntil([&] {
        for (HWND window : ProcessWindows(pid())) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "#32768") return true;
        }
        return false;
    });
    if (!opened) return false;
    Sleep(300);
    PostMessageA(window_, WM_KEYDOWN, VK_UP, 0);
    Sleep(300);
    PostMessageA(window_, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

bool Setwright::Responsive() const {
    DWORD_PTR result;
    return SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

long Setwright::WaitForExit(DWORD timeout_ms) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return long(code);
}

}  // namespace setwright_test
