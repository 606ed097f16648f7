#include "framework/PropertySheet.h"

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty())
        return -1;
    std::vector<PROPSHEETPAGEA> blocks(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i]->ResetApplied();
        m_pages[i]->BuildPage(&blocks[i]);
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof(header));
    // The first layout: older comctl32 versions refuse larger sizes.
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | (m_hIcon ? PSH_USEHICON : 0);
    header.hwndParent = m_hOwner;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.hIcon = m_hIcon;
    header.pszCaption = m_strCaption.c_str();
    header.nPages = static_cast<UINT>(blocks.size());
    header.nStartPage = 0;
    header.ppsp = blocks.data();
    INT_PTR r = ::PropertySheetA(&header);
    if (r < 0)
        return -1;
    // The return value tells changes, not the button: OK is what sent
    // PSN_APPLY to the pages that exist.
    for (CPropertyPage* page : m_pages)
        if (page->WasApplied())
            return IDOK;
    return IDCANCEL;
}
