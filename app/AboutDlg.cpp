#include "app/AboutDlg.h"

#include "res/resource.h"

const char kHomePage[] = "http://www.brightsweep.example/";

CAboutDlg::CAboutDlg(HWND hParent) : CDialog(IDD_ABOUTBOX, hParent) {}

BOOL CAboutDlg::OnInitDialog()
{
    m_link.SubclassDlgItem(IDC_HOMEPAGE, m_hWnd);
    m_link.SetLinkTarget(kHomePage);
    m_link.SetUnderlined(TRUE);
    // Last: attaching sets the arrow.
    m_link.m_hCursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINKCURSOR));
    return TRUE;
}

bool CAboutDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == m_link.m_hWnd) {
        *result = reinterpret_cast<LRESULT>(m_link.OnCtlColor(reinterpret_cast<HDC>(wp)));
        return true;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == IDC_HOMEPAGE && HIWORD(wp) == STN_CLICKED) {
        m_link.OnClicked();
        *result = 0;
        return true;
    }
    return false;
}

void ShowAboutBox(HWND hOwner)
{
    CAboutDlg dlg(hOwner);
    dlg.DoModal();
}
