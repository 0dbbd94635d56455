// The About box, opened from the system menu.
#pragma once

#include "utility/framework/framework.h"
#include "utility/resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : CDialog(IDD) {}
};
