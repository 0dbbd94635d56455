// Running setwright.exe and working its window from another process, as a
// person would: clicks, keys and menu commands posted to its controls, and
// what the controls show read back.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace setwright_test {

constexpr char kMainCaption[] = "Double click list to configure";
constexpr int kCodecList = 1000;
constexpr int kCodecType = 1001;
constexpr int kDescription = 1002;

struct Item {
    std::string text;
    DWORD_PTR data;
    bool operator==(const Item&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << '"' << item.text << "\" (" << item.data << ')';
}

// A visible top-level window of process `pid` with this caption, waited for
// up to `timeout_ms`.
HWND WaitForProcessWindow(DWORD pid, const char* caption, DWORD timeout_ms);
// Every visible top-level window of process `pid`.
std::vector<HWND> ProcessWindows(DWORD pid);

std::vector<Item> ListItems(HWND list);
std::vector<Item> ComboItems(HWND combo);
std::string WindowText(HWND window);

// Waits up to `timeout_ms` for `done` to hold; true when it did.
template <typename Done>
bool WaitUntil(Done done, DWORD timeout_ms = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) return false;
        Sleep(50);
    }
    return true;
}

// One run of setwright.exe. The destructor closes it if it is still running.
class Setwright {
public:
    Setwright() = default;
    ~Setwright();
    Setwright(const Setwright&) = delete;
    Setwright& operator=(const Setwright&) = delete;

    // Starts the program and waits for its window; false when it did not come.
    bool Start();

    HWND window() const { return window_; }
    HWND list() const { return GetDlgItem(window_, kCodecList); }
    HWND type() const { return GetDlgItem(window_, kCodecType); }
    DWORD pid() const { return info_.dwProcessId; }

    std::string Description() const { return WindowText(GetDlgItem(window_, kDescription)); }

    // A click and a double click on the list entry `index` (scrolled into view).
    void Click(int index) const;
    void DoubleClick(int index) const;
    // The Down and Up arrow keys on the type selector.
    void NextType() const;
    void PreviousType() const;
    // Alt+Space, Up (from the first item round to the last) and Enter: the
    // last item of the system menu. (Wine adds its own "&About Wine" to every
    // system menu, so the mnemonic alone would not do.) False when no menu
    // opened.
    bool ChooseLastSystemMenuItem() const;

    // Whether the program still answers messages.
    bool Responsive() const;
    // Waits for the program to end; its exit code, or -1 when it did not end.
    long WaitForExit(DWORD timeout_ms);

private:
    POINT ItemPoint(int index) const;

    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

}  // namespace setwright_test
