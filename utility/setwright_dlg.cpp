#include "utility/setwright_dlg.h"

#include "utility/about_dlg.h"
#include "utility/quicktime/quicktime.h"
#include "utility/vfw_codecs.h"

namespace {

constexpr std::size_t kMaxListedCodecs = 1024;

constexpr char kTypeAvi[] = "AVI - Audio Video Interleave";
constexpr char kTypeMov[] = "MOV - QuickTime Movie";
constexpr char kAllQuickTimeTypes[] = "All Types";
constexpr char kQuickTimeDescription[] = "Double click to modify all QuickTime codecs.";
constexpr char kNoDescription[] = "Codec description not available.";
constexpr char kNoConfigureDialog[] = "Video compression driver does not support a configuration dialog box.";

// The wait cursor for a scope.
class WaitCursor {
public:
    WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace

CSetwrightDlg::CSetwrightDlg(CWnd* pParent) : CDialog(IDD, pParent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

void CSetwrightDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DESCRIPTION, m_description);
    DDX_Control(pDX, IDC_CODEC_TYPE, m_type);
    DDX_Control(pDX, IDC_CODEC_LIST, m_codecs);
}

BEGIN_MESSAGE_MAP(CSetwrightDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_CBN_SELCHANGE(IDC_CODEC_TYPE, OnTypeChange)
    ON_LBN_DBLCLK(IDC_CODEC_LIST, OnCodecDoubleClick)
    ON_LBN_SELCHANGE(IDC_CODEC_LIST, OnCodecSelChange)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CSetwrightDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU systemMenu = GetSystemMenu(FALSE)) {
        char about[256];
        if (::LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, about, sizeof about) > 0) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // Without QuickTime both fail, and so does every QuickTime call later.
    quicktime::QtInit(0);
    quicktime::EnterMovies();

    m_type.SetItemData(m_type.AddString(kTypeAvi), TYPE_AVI);
    m_type.SetItemData(m_type.AddString(kTypeMov), TYPE_MOV);
    m_type.SetCurSel(0);
    FillCodecList();
    return TRUE;
}

DWORD_PTR CSetwrightDlg::SelectedType() const { return m_type.GetItemData(m_type.GetCurSel()); }

DWORD CSetwrightDlg::SelectedHandler() const { return DWORD(m_codecs.GetItemData(m_codecs.GetCurSel())); }

void CSetwrightDlg::FillCodecList() {
    m_codecs.ResetContent();
    const DWORD_PTR type = SelectedType();
    if (type == TYPE_MOV || type == TYPE_AVI) AddCodecEntries(type);
    m_codecs.SetCurSel(0);
    ShowCodecDescription();
}

void CSetwrightDlg::AddCodecEntries(DWORD_PTR type) {
    if (type == TYPE_MOV) {
        m_codecs.SetItemData(m_codecs.AddString(kAllQuickTimeTypes), 0);
        return;
    }
    for (const setwright::CodecEntry& entry : setwright::ListCompressors(kMaxListedCodecs)) {
        const int index = m_codecs.AddString(entry.text.c_str());
        if (index >= 0) m_codecs.SetItemData(index, entry.handler);
    }
}

void CSetwrightDlg::ShowCodecDescription() {
    WaitCursor wait;
    const DWORD_PTR type = SelectedType();
    if (type == TYPE_MOV) {
        m_description.SetWindowText(kQuickTimeDescription);
    } else if (type == TYPE_AVI) {
        const std::optional<std::string> text = setwright::CodecDescription(SelectedHandler());
        m_description.SetWindowText(text ? text->c_str() : kNoDescription);
    }
}

void CSetwrightDlg::OnTypeChange() { FillCodecList(); }

void CSetwrightDlg::OnCodecSelChange() { ShowCodecDescription(); }

void CSetwrightDlg::OnCodecDoubleClick() {
    const DWORD_PTR type = SelectedType();
    if (type == TYPE_MOV) {
        ConfigureQuickTimeCodecs();
    } else if (type == TYPE_AVI) {
        if (!setwright::ConfigureVfwCodec(m_hWnd, SelectedHandler())) m_description.SetWindowText(kNoConfigureDialog);
    }
}

// QuickTime's standard image-compression dialog. What the user picks there is
// not kept: the dialog is where QuickTime's codecs are set up.
void CSetwrightDlg::ConfigureQuickTimeCodecs() {
    using namespace quicktime;
    ComponentInstance instance = OpenDefaultComponent(kStandardCompressionType, kStandardCompressionSubTypeImage);
    if (!instance) return;
    ComponentParameters request{};
    request.what = kSCRequestImageSettingsSelect;
    CallComponent(instance, &request);
}

void CSetwrightDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

// Minimised, the window shows the application icon centred in its client area.
void CSetwrightDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CSetwrightDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CSetwrightDlg::OnClose() {
    CDialog::OnClose();
    quicktime::ExitMovies();
    quicktime::QtTerm();
}
