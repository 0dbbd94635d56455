// Resource and control identifiers of the driver's dialogs.
#pragma once

#define IDD_ABOUT 1001
#define IDD_GENERAL_PAGE 1002
#define IDD_ADVANCED_PAGE 1003

#define IDC_ABOUT_BUILD 1011
#define IDC_ABOUT_VERSION 1012
