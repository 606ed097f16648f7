#include "settings/pages/ModeSetting.h"

#include "framework/Format.h"
#include "res/resource.h"
#include "settings/pages/IntervalInput.h"

#include <string>

namespace {
std::string LoadText(UINT id)
{
    char text[256] = "";
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return text;
}
} // namespace

CModeSetting::CModeSetting() : CPropertyPage(IDD_MODE) {}

BOOL CModeSetting::OnInitDialog()
{
    const SettingValues& applied = m_pSettings->applied;
    ::CheckDlgButton(m_hWnd, IDC_CHECK_AUTO, applied.autoClean == 1 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_CHECK_START_WINDOWS, applied.startWithWindows ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_CHECK_END_SESSION, applied.endSessionClean ? BST_CHECKED : BST_UNCHECKED);
    m_nMinutes = static_cast<unsigned>(applied.autoCleanMinutes);
    char text[16];
    FormatText(text, sizeof(text), "%u", m_nMinutes);
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_MINUTES, text);
    return TRUE;
}

bool CModeSetting::ReadControls()
{
    char text[64] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_EDIT_MINUTES, text, sizeof(text));
    switch (ReadInterval(text, &m_nMinutes)) {
    case IntervalCheck::Ok:
        return true;
    case IntervalCheck::NotANumber:
        FailField(IDC_EDIT_MINUTES, LoadText(IDS_PARSE_UINT).c_str());
        return false;
    case IntervalCheck::OutOfRange:
        FailField(IDC_EDIT_MINUTES, IntervalRangeText(LoadText(IDS_PARSE_INT_RANGE)).c_str());
        return false;
    }
    return false;
}

void CModeSetting::OnDestroy()
{
    SettingValues& pending = m_pSettings->pending;
    pending.autoClean = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_AUTO) == BST_CHECKED ? 1 : 0;
    pending.autoCleanMinutes = static_cast<int>(m_nMinutes);
    pending.startWithWindows = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_START_WINDOWS) == BST_CHECKED ? 1 : 0;
    pending.endSessionClean = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_END_SESSION) == BST_CHECKED ? 1 : 0;
}
