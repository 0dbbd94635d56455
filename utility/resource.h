// Resource, control and command identifiers of Setwright.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETWRIGHT_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_CODEC_LIST 1000
#define IDC_CODEC_TYPE 1001
#define IDC_DESCRIPTION 1002

// System menu command of the About box: the system takes the low four bits.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
