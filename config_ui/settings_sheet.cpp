#include "config_ui/settings_sheet.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "config_ui/resource_ids.h"
#include "platform/module_handle.h"
#include "formats/fourcc.h"

namespace lumacore {
namespace {

// The sheet, its pages and the tooltip tools are described with the second
// revision of their records (52, 48 and 44 bytes in 32-bit builds): every
// common-controls version takes those, while older ones refuse a tool record
// of the later, longer revision. The sheet steps through the page array by
// each page's size, so the array is made of records of exactly that revision.
constexpr UINT kPageRecordSize = UINT(sizeof(PROPSHEETPAGEA_V2));
constexpr UINT kSheetRecordSize = UINT(offsetof(PROPSHEETHEADERA, hbmHeader) + sizeof(void*));
constexpr UINT kToolRecordSize = UINT(offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM));
static_assert(sizeof(void*) != 4 || (kPageRecordSize == 48 && kSheetRecordSize == 52 && kToolRecordSize == 44),
              "32-bit record sizes");

constexpr char kTooltipClass[] = "tooltips_class32";
constexpr LPARAM kTipDelayMs = 1500;
constexpr LPARAM kTipMaxWidth = 400;
constexpr int kTipTextSize = 512;

// The tooltip control a page created last; shared by every page and instance.
std::atomic<HWND> g_tooltip{nullptr};

// Combo items in list order: an item's index is the value it stands for.
// "(Default)" marks the default of each matrix list.
constexpr const char* kSdMatrixItems[] = {
    "CCIR 601 Extended (Y=0..1023)",
    "CCIR 601 Standard (Default)",
    "SMPTE 240M Extended (Y=0..1023)",
    "SMPTE 240M Standard",
    "SMPTE 274M Extended (Y=0..1023)",
    "SMPTE 274M Standard",
};
constexpr const char* kHdMatrixItems[] = {
    "CCIR 601 Extended (Y=0..1023)",
    "CCIR 601 Standard",
    "SMPTE 240M Extended (Y=0..1023)",
    "SMPTE 240M Standard",
    "SMPTE 274M Extended (Y=0..1023)",
    "SMPTE 274M Standard (Default)",
};
constexpr const char* kFourccItems[] = {
    "UYVY", "YV12", "YUY2", "cyuv", "I420", "YVYU", "YUYV", "YUNV", "V422",
    "UYNY", "UYNV", "2vuy", "yuv2", "IYUV", "v210", "012v", "auv2", "a12v",
};
constexpr const char* kAlign720Items[] = {"Aja HD (Kona/22)", "DVS HDStationOEM", "Flowcard (F1/F2)"};
constexpr const char* kAlignVesaItems[] = {"VGA Playback", "DVS HDStationOEM"};

struct ComboItems {
    int id;
    int page;
    const char* const* items;
    int count;
};

template <std::size_t N>
constexpr ComboItems Combo(int id, int page, const char* const (&items)[N]) {
    return {id, page, items, int(N)};
}

constexpr ComboItems kComboItems[] = {
    Combo(IDC_ENC_MATRIX, kGeneralPage, kSdMatrixItems),
    Combo(IDC_DEC_MATRIX, kGeneralPage, kSdMatrixItems),
    Combo(IDC_ENC_MATRIX_HD, kGeneralPage, kHdMatrixItems),
    Combo(IDC_DEC_MATRIX_HD, kGeneralPage, kHdMatrixItems),
    Combo(IDC_DEFAULT_FOURCC, kGeneralPage, kFourccItems),
    Combo(IDC_BOARD_ALIGN_720, kAdvancedPage, kAlign720Items),
    Combo(IDC_BOARD_ALIGN_VESA, kAdvancedPage, kAlignVesaItems),
};

// How a control shows and stores its field.
enum class Binding {
    Selection,  // combo box: selected index = value
    Flag,       // check box: checked = 1, anything else = 0
    MaskBit,    // check box: one bit of the field
};

struct ControlField {
    int id;
    int page;
    Binding binding;
    std::int32_t CodecSettings::*field;
    std::int32_t bit;
};

constexpr ControlField kControlFields[] = {
    {IDC_ENC_MATRIX, kGeneralPage, Binding::Selection, &CodecSettings::enc_matrix, 0},
    {IDC_DEC_MATRIX, kGeneralPage, Binding::Selection, &CodecSettings::dec_matrix, 0},
    {IDC_ENC_MATRIX_HD, kGeneralPage, Binding::Selection, &CodecSettings::enc_matrix_hd, 0},
    {IDC_DEC_MATRIX_HD, kGeneralPage, Binding::Selection, &CodecSettings::dec_matrix_hd, 0},
    {IDC_DISABLE_MMX, kGeneralPage, Binding::MaskBit, &CodecSettings::cpu_disable_mask, 1},
    {IDC_DISABLE_SSE, kGeneralPage, Binding::MaskBit, &CodecSettings::cpu_disable_mask, 2},
    {IDC_DISABLE_SSE2, kGeneralPage, Binding::MaskBit, &CodecSettings::cpu_disable_mask, 4},
    {IDC_INVERT_INPUT, kGeneralPage, Binding::Flag, &CodecSettings::invert_input, 0},
    {IDC_INVERT_OUTPUT, kGeneralPage, Binding::Flag, &CodecSettings::invert_output, 0},
    {IDC_TOP_FIELD_FIRST, kGeneralPage, Binding::Flag, &CodecSettings::top_field_first, 0},
    {IDC_BOARD_ALIGN_720, kAdvancedPage, Binding::Selection, &CodecSettings::board_align_720, 0},
    {IDC_BOARD_ALIGN_VESA, kAdvancedPage, Binding::Selection, &CodecSettings::board_align_VESA, 0},
    {IDC_DISABLE_TRANSCODE, kAdvancedPage, Binding::Flag, &CodecSettings::disable_transcode, 0},
    {IDC_DISABLE_TRANSCODE_COLOR, kAdvancedPage, Binding::Flag, &CodecSettings::disable_transcode_color, 0},
    {IDC_DISABLE_TRANSCODE_8_10, kAdvancedPage, Binding::Flag, &CodecSettings::disable_transcode_8_10, 0},
    {IDC_DISABLE_TRANSCODE_DIRECT, kAdvancedPage, Binding::Flag, &CodecSettings::disable_transcode_direct, 0},
    {IDC_USE_SYSTEM_CODEC, kAdvancedPage, Binding::Flag, &CodecSettings::use_system_codec, 0},
};

// The default FourCC list is for show: the codec always proposes UYVY at 16
// bits, whatever the list or the record said.
void SetDefaultFourcc(CodecSettings* settings) {
    settings->fourcc_used = std::int32_t(FCC_UYVY);
    settings->fourcc_bitcount = 16;
}

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void FillCombos(HWND page, int page_index) {
    for (const ComboItems& combo : kComboItems) {
        if (combo.page != page_index) continue;
        for (int i = 0; i < combo.count; ++i)
            SendDlgItemMessageA(page, combo.id, CB_ADDSTRING, 0, LPARAM(combo.items[i]));
    }
    if (page_index == kGeneralPage) SendDlgItemMessageA(page, IDC_DEFAULT_FOURCC, CB_SETCURSEL, 0, 0);
}

void ShowRecord(HWND page, int page_index, const CodecSettings& settings) {
    for (const ControlField& c : kControlFields) {
        if (c.page != page_index) continue;
        const std::int32_t value = settings.*c.field;
        switch (c.binding) {
            case Binding::Selection:
                // A value outside the list selects nothing; reading it back stores 0.
                SendDlgItemMessageA(page, c.id, CB_SETCURSEL, WPARAM(value), 0);
                break;
            case Binding::Flag:
                CheckDlgButton(page, c.id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
                break;
            case Binding::MaskBit:
                CheckDlgButton(page, c.id, (value & c.bit) ? BST_CHECKED : BST_UNCHECKED);
                break;
        }
    }
}

void CreateTooltip(HWND page, PageContext* context) {
    // Owned by the page's sheet, so it goes when the sheet closes.
    HWND tooltip = CreateWindowExA(0, kTooltipClass, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr, ModuleHandle(), nullptr);
    context->tooltip = tooltip;
    g_tooltip.store(tooltip);
    if (!tooltip) return;  // the page works without tooltips
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, kTipDelayMs);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
    EnumChildWindows(page, &AddControlTooltip, LPARAM(tooltip));
}

void InitPage(HWND page, PageContext* context) {
    if (context->page == kGeneralPage) InitCommonControls();
    FillCombos(page, context->page);
    CreateTooltip(page, context);
    ShowRecord(page, context->page, *context->settings);
    SetDefaultFourcc(context->settings);
}

}  // namespace

void ShowSettingsSheet(HWND parent, CodecSettings* settings) {
    if (!settings) return;
    settings->settings_accepted = 0;
    CodecSettings working = *settings;

    PageContext contexts[2] = {{kGeneralPage, &working, nullptr}, {kAdvancedPage, &working, nullptr}};
    const int templates[2] = {IDD_GENERAL_PAGE, IDD_ADVANCED_PAGE};
    PROPSHEETPAGEA_V2 pages[2] = {};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = kPageRecordSize;
        pages[i].dwFlags = PSP_DEFAULT;  // the tab labels are the template captions
        pages[i].hInstance = ModuleHandle();
        pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
        pages[i].pfnDlgProc = &SettingsPageProc;
        pages[i].lParam = LPARAM(&contexts[i]);
    }

    PROPSHEETHEADERA header = {};
    header.dwSize = kSheetRecordSize;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;  // OK and Cancel only
    header.hwndParent = parent;
    header.hInstance = ModuleHandle();
    header.pszCaption = kSettingsSheetCaption;
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<const PROPSHEETPAGEA*>(pages);
    // The copy's flag says how the sheet ended; a sheet that failed to open
    // never set it.
    PropertySheetA(&header);

    if (working.settings_accepted) *settings = working;
}

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const PROPSHEETPAGEA*>(lparam);
        auto* context = record ? reinterpret_cast<PageContext*>(record->lParam) : nullptr;
        SetWindowLongPtrA(page, GWLP_USERDATA, LONG_PTR(context));
        if (context && context->settings) InitPage(page, context);
        return TRUE;
    }

    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrA(page, GWLP_USERDATA));
    switch (message) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            if (!header || !context || !context->settings) return TRUE;
            switch (header->code) {
                case PSN_KILLACTIVE:  // leaving the page, or OK: keep what it shows
                    ReadPageControls(page, context->page, context->settings);
                    SetWindowLongPtrA(page, DWLP_MSGRESULT, FALSE);
                    return TRUE;
                case PSN_APPLY:  // OK, to every page that was ever shown
                    ReadPageControls(page, context->page, context->settings);
                    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
                    context->settings->settings_accepted = 1;
                    return TRUE;
                default:
                    return TRUE;
            }
        }
        case WM_COMMAND: {
            // The hidden "Done" button, or a cancel aimed at the page, is the
            // sheet's to carry out: ending the page as if it were a dialog of
            // its own would leave the sheet open around an empty page.
            const WORD id = LOWORD(wparam);
            if (id == IDOK && HIWORD(wparam) == BN_CLICKED)
                PostMessageA(GetParent(page), PSM_PRESSBUTTON, PSBTN_OK, 0);
            else if (id == IDCANCEL)
                PostMessageA(GetParent(page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            return TRUE;
        }
        case WM_DESTROY:
            // The tooltip goes with the sheet; forget it if it was the last one made.
            if (context && context->tooltip) {
                HWND mine = context->tooltip;
                g_tooltip.compare_exchange_strong(mine, nullptr);
                context->tooltip = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void ReadPageControls(HWND page, int page_index, CodecSettings* settings) {
    if (!settings) return;
    // The whole processor mask comes from its three boxes; other bits are dropped.
    if (page_index == kGeneralPage) settings->cpu_disable_mask = 0;
    for (const ControlField& c : kControlFields) {
        if (c.page != page_index) continue;
        std::int32_t& field = settings->*c.field;
        switch (c.binding) {
            case Binding::Selection:
                field = std::int32_t(SendDlgItemMessageA(page, c.id, CB_GETCURSEL, 0, 0));  // CB_ERR: -1
                break;
            case Binding::Flag:
                field = Checked(page, c.id) ? 1 : 0;
                break;
            case Binding::MaskBit:
                if (Checked(page, c.id)) field |= c.bit;
                break;
        }
    }
    if (page_index == kGeneralPage) SetDefaultFourcc(settings);
    ClampSettings(settings);
}

BOOL CALLBACK AddControlTooltip(HWND control, LPARAM tooltip_value) {
    HWND tooltip = tooltip_value ? reinterpret_cast<HWND>(tooltip_value) : g_tooltip.load();
    if (!tooltip) return TRUE;
    char text[kTipTextSize];
    if (LoadStringA(ModuleHandle(), UINT(GetDlgCtrlID(control)), text, kTipTextSize) <= 0) return TRUE;
    TTTOOLINFOA tool = {};
    tool.cbSize = kToolRecordSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;  // the tool is the control; the tooltip watches its mouse
    tool.hwnd = GetParent(control);
    tool.uId = UINT_PTR(control);
    tool.lpszText = text;  // copied by the tooltip
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, LPARAM(&tool));
    return TRUE;
}

}  // namespace lumacore
