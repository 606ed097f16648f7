#include "framework/PropertyPage.h"

#include "framework/DialogProc.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"

namespace {
// The font of the system's property sheet.
const WORD kSheetFontSize = 8;
const wchar_t kSheetFontFace[] = L"MS Shell Dlg";
} // namespace

void CPropertyPage::BuildPage(PROPSHEETPAGEA* page)
{
    ZeroMemory(page, sizeof(*page));
    page->dwSize = PROPSHEETPAGEA_V1_SIZE;
    page->dwFlags = PSP_DEFAULT;
    page->hInstance = ::GetModuleHandleA(nullptr);
    page->pszTemplate = MAKEINTRESOURCEA(m_nIDTemplate);
    // The sheet lays its pages out in its own font: a page shows in that font
    // too, so that it fits the sheet whatever font its template names.
    m_template = DialogTemplateWithFont(LoadDialogTemplate(m_nIDTemplate), kSheetFontSize, kSheetFontFace);
    if (!m_template.empty()) {
        page->dwFlags |= PSP_DLGINDIRECT;
        page->pResource = reinterpret_cast<LPCDLGTEMPLATEA>(m_template.data());
    }
    page->pfnDlgProc = PageProc;
    page->lParam = reinterpret_cast<LPARAM>(static_cast<CWnd*>(this));
}

void CPropertyPage::FailField(UINT id, const char* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    HWND control = ::GetDlgItem(m_hWnd, id);
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* creating = nullptr;
    if (msg == WM_INITDIALOG)
        creating = reinterpret_cast<CWnd*>(reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam);
    return DispatchToBound<CPropertyPage>(hWnd, msg, wp, lp, creating);
}

INT_PTR CPropertyPage::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    if (OnMessage(msg, wp, lp, &result))
        return HandledDialogMessage(m_hWnd, msg, result);
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(wp, lp);
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NOTIFY:
        if (!OnNotify(reinterpret_cast<const NMHDR*>(lp), &result))
            return FALSE;
        return HandledDialogMessage(m_hWnd, msg, result);
    default:
        return FALSE;
    }
}

bool CPropertyPage::OnNotify(const NMHDR* hdr, LRESULT* result)
{
    switch (hdr->code) {
    case PSN_KILLACTIVE:
        *result = ReadControls() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        m_bApplied = true;
        *result = PSNRET_NOERROR;
        return true;
    default:
        return false;
    }
}
