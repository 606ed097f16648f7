#include "framework/PropertySheet.h"

#include "framework/Dialog.h"

namespace {
// The icon of the sheet being shown on this thread, for the callback.
thread_local HICON t_sheetIcon = nullptr;

int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM)
{
    if (msg != PSCB_INITIALIZED)
        return 0;
    // Some comctl32 versions take PSH_USEHICON without giving the window the icon.
    if (t_sheetIcon && !::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0)) {
        ::SendMessageA(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(t_sheetIcon));
        ::SendMessageA(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(t_sheetIcon));
    }
    // Over the middle of its owner, as a modal dialog is, and in front: the
    // owner's thread, not this one, had the foreground.
    CenterWindowOver(hWnd, ::GetWindow(hWnd, GW_OWNER));
    ::SetForegroundWindow(hWnd);
    return 0;
}
} // namespace

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty())
        return -1;
    // Page handles rather than an array of blocks: comctl32 steps through such
    // an array by each block's own dwSize.
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : m_pages) {
        page->ResetApplied();
        PROPSHEETPAGEA block;
        page->BuildPage(&block);
        HPROPSHEETPAGE handle = ::CreatePropertySheetPageA(&block);
        if (!handle) {
            for (HPROPSHEETPAGE h : handles)
                ::DestroyPropertySheetPage(h);
            return -1;
        }
        handles.push_back(handle);
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof(header));
    // The first layout: older comctl32 versions refuse larger sizes.
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USECALLBACK | (m_hIcon ? PSH_USEHICON : 0);
    header.hwndParent = m_hOwner;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.hIcon = m_hIcon;
    header.pszCaption = m_strCaption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = 0;
    header.phpage = handles.data();
    header.pfnCallback = SheetCallback;
    HICON outer = t_sheetIcon;
    t_sheetIcon = m_hIcon;
    INT_PTR r = ::PropertySheetA(&header);
    t_sheetIcon = outer;
    if (r < 0)
        return -1;
    // The return value tells changes, not the button: OK is what sent
    // PSN_APPLY to the pages that exist.
    for (CPropertyPage* page : m_pages)
        if (page->WasApplied())
            return IDOK;
    return IDCANCEL;
}
