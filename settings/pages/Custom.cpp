#include "settings/pages/Custom.h"

#include "settings/FolderList.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "settings/pages/FolderCandidate.h"

#include <vector>

AddOutcome AddFolderTo(CFolderList& list, const std::string& candidate)
{
    if (candidate.empty())
        return AddOutcome::Nothing;
    if (list.Contains(candidate))
        return AddOutcome::Duplicate;
    list.Append(candidate);
    return AddOutcome::Added;
}

CCustom::CCustom() : CPropertyPage(IDD_CUSTOM) {}

BOOL CCustom::OnInitDialog()
{
    HWND list = List();
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, 1820, 0);
    for (const std::string& folder : m_pSettings->customFolders.Snapshot())
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    m_editPath.SubclassDlgItem(IDC_EDIT_FOLDER, m_hWnd);
    m_editPath.acceptFolders = 1;
    return TRUE;
}

BOOL CCustom::OnCommand(WPARAM wp, LPARAM)
{
    switch (LOWORD(wp)) {
    case IDC_ADD:
        OnAdd();
        return TRUE;
    case IDC_REMOVE:
        OnRemove();
        return TRUE;
    case IDC_REMOVE_ALL:
        OnRemoveAll();
        return TRUE;
    case IDC_FOLDER_LIST:
        if (HIWORD(wp) == LBN_SELCHANGE)
            OnSelectionChange();
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CCustom::List() const
{
    return ::GetDlgItem(m_hWnd, IDC_FOLDER_LIST);
}

std::string CCustom::RowText(int row) const
{
    LRESULT length = ::SendMessageA(List(), LB_GETTEXTLEN, row, 0);
    if (length == LB_ERR)
        return "";
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(List(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void CCustom::OnAdd()
{
    std::string candidate;
    Refusal refusal = AddCandidate(m_editPath.GetWindowText(), m_editPath.droppedPath, candidate);
    if (refusal != Refusal::None) {
        // The typed text stays, selected, for correction.
        AfxMessageBox(RefusalText(refusal), MB_OK);
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_editPath.m_hWnd), TRUE);
        ::SendMessageA(m_editPath.m_hWnd, EM_SETSEL, 0, -1);
        return;
    }
    switch (AddFolderTo(m_pSettings->customFolders, candidate)) {
    case AddOutcome::Nothing:
        return;
    case AddOutcome::Duplicate:
        AfxMessageBox("You have added the folder.", MB_OK);
        break;
    case AddOutcome::Added:
        ::SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(candidate.c_str()));
        break;
    }
    m_editPath.droppedPath = candidate;
    m_editPath.SetWindowText("");
}

void CCustom::OnRemove()
{
    LRESULT row = ::SendMessageA(List(), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) {
        char text[128] = "";
        ::LoadStringA(::GetModuleHandleA(nullptr), IDS_SELECT_FOLDER_FIRST, text, sizeof(text));
        AfxMessageBox(text, MB_OK);
        return;
    }
    m_pSettings->customFolders.RemoveFirst(RowText(static_cast<int>(row)));
    ::SendMessageA(List(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
}

void CCustom::OnRemoveAll()
{
    m_pSettings->customFolders.Clear();
    ::SendMessageA(List(), LB_RESETCONTENT, 0, 0);
}

void CCustom::OnSelectionChange()
{
    LRESULT row = ::SendMessageA(List(), LB_GETCURSEL, 0, 0);
    if (row != LB_ERR)
        m_editPath.droppedPath = RowText(static_cast<int>(row));
}
