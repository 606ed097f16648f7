// A modal property sheet of CPropertyPage objects, which the caller owns.
#pragma once
#include "framework/PropertyPage.h"

#include <string>
#include <vector>

class CPropertySheet {
public:
    // hOwner is disabled while the sheet is shown; it may belong to another
    // thread.
    CPropertySheet(const char* caption, HWND hOwner) : m_strCaption(caption), m_hOwner(hOwner) {}
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void SetIcon(HICON icon) { m_hIcon = icon; }
    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }

    // Shows the sheet with the first page selected, no Apply and no Help
    // button. Returns IDOK when it closed with OK, IDCANCEL when with Cancel,
    // Esc or the close box, -1 when it could not be shown. The page windows
    // are destroyed before it returns.
    INT_PTR DoModal();

private:
    std::string m_strCaption;
    HWND m_hOwner;
    HICON m_hIcon = nullptr;
    std::vector<CPropertyPage*> m_pages;
};
