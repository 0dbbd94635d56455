// Resource and control identifiers of the driver's dialogs. The control ids
// of the settings pages are also the ids of their tooltip strings.
#pragma once

#define IDD_ABOUT 1001
#define IDD_GENERAL_PAGE 1002
#define IDD_ADVANCED_PAGE 1003

#define IDC_ABOUT_BUILD 1011
#define IDC_ABOUT_VERSION 1012

// General page
#define IDC_ENC_MATRIX 1237
#define IDC_DEC_MATRIX 1238
#define IDC_ENC_MATRIX_HD 1239
#define IDC_DEC_MATRIX_HD 1240
#define IDC_DISABLE_MMX 1241
#define IDC_DISABLE_SSE 1242
#define IDC_DISABLE_SSE2 1243
#define IDC_INVERT_INPUT 1244
#define IDC_INVERT_OUTPUT 1245
#define IDC_TOP_FIELD_FIRST 1246
#define IDC_DEFAULT_FOURCC 1247

// Advanced page
#define IDC_BOARD_ALIGN_720 1300
#define IDC_BOARD_ALIGN_VESA 1301
#define IDC_DISABLE_TRANSCODE_COLOR 1302
#define IDC_DISABLE_TRANSCODE 1303
#define IDC_DISABLE_TRANSCODE_8_10 1304
#define IDC_DISABLE_TRANSCODE_DIRECT 1305
#define IDC_USE_SYSTEM_CODEC 1306
