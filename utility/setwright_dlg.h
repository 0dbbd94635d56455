// The main window: the installed video compressors, or QuickTime's codecs as
// one entry, and the selected codec's description. A double click opens the
// codec's configuration dialog.
#pragma once

#include "utility/framework/framework.h"
#include "utility/resource.h"

class CSetwrightDlg : public CDialog {
public:
    enum { IDD = IDD_SETWRIGHT_DIALOG };
    // Item data of the type selector's entries.
    enum CodecType : DWORD_PTR { TYPE_MOV = 2, TYPE_AVI = 3 };

    explicit CSetwrightDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTypeChange();
    void OnCodecDoubleClick();
    void OnCodecSelChange();
    void OnClose();

    DECLARE_MESSAGE_MAP()

private:
    DWORD_PTR SelectedType() const;
    DWORD SelectedHandler() const;
    void FillCodecList();
    void AddCodecEntries(DWORD_PTR type);
    void ShowCodecDescription();
    void ConfigureQuickTimeCodecs();

    CStatic m_description;
    CComboBox m_type;
    CListBox m_codecs;
    HICON m_hIcon;
};
