// The codec's configuration property sheet: a "General" and an "Advanced"
// page that edit a private copy of a settings record, written back only when
// the user presses OK.
#pragma once

#include "settings/codec_settings.h"
#include "platform/win32.h"

namespace lumacore {

inline constexpr char kSettingsSheetCaption[] = "Orvane Y'CbCr Video Codec";
inline constexpr int kGeneralPage = 0;
inline constexpr int kAdvancedPage = 1;

// What one page works on. The sheet hands it to the page as the page's
// initialisation value; the page keeps it in its GWLP_USERDATA.
struct PageContext {
    int page;                 // kGeneralPage or kAdvancedPage
    CodecSettings* settings;  // the sheet's private working copy
    HWND tooltip;             // the page's tooltip control, once created
};

// Runs the sheet modally over `parent`. On return `settings_accepted` is 1 and
// every field holds the edited values if the user pressed OK; otherwise the
// record is as it was, apart from `settings_accepted`, which is 0.
void ShowSettingsSheet(HWND parent, CodecSettings* settings);

// The dialog procedure of both pages.
INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam);

// Stores the controls of one page into `settings`, then brings the whole
// record into the bounds a settings load applies.
void ReadPageControls(HWND page, int page_index, CodecSettings* settings);

// Child-window enumeration callback: gives `control` its tooltip string from
// the string table, if it has one, on the tooltip control `tooltip` (0: the
// one a page created last). Always TRUE, so that enumeration goes on.
BOOL CALLBACK AddControlTooltip(HWND control, LPARAM tooltip);

}  // namespace lumacore
