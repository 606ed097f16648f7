#include "settings/pages/HotKeySetting.h"

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "settings/pages/HotKeyChoice.h"

CHotKeySetting::CHotKeySetting() : CPropertyPage(IDD_HOTKEY) {}

WORD CHotKeySetting::ControlHotKey() const
{
    return static_cast<WORD>(::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
}

BOOL CHotKeySetting::OnInitDialog()
{
    const SettingValues& applied = m_pSettings->applied;
    ::CheckDlgButton(m_hWnd, IDC_CHECK_HOTKEY, applied.hotKeyEnabled == 1 ? BST_CHECKED : BST_UNCHECKED);
    // A key alone or with exactly one modifier; two or three become the key alone.
    ::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETRULES,
                          HKCOMB_NONE | HKCOMB_SC | HKCOMB_SA | HKCOMB_CA | HKCOMB_SCA, MAKELPARAM(0, 0));
    if (applied.hotKeyKeyCount == 1 || applied.hotKeyKeyCount == 2)
        ::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETHOTKEY, HotKeyForControl(applied), 0);
    return TRUE;
}

BOOL CHotKeySetting::OnCommand(WPARAM wp, LPARAM)
{
    if (LOWORD(wp) != IDC_SET_DEFAULT || HIWORD(wp) != BN_CLICKED)
        return FALSE;
    ::SendDlgItemMessageA(m_hWnd, IDC_HOTKEY, HKM_SETHOTKEY, VK_ESCAPE, 0);
    return TRUE;
}

bool CHotKeySetting::ReadControls()
{
    if (IsStorableHotKey(LOBYTE(ControlHotKey())))
        return true;
    AfxMessageBox(kUnusableHotKeyText, MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_HOTKEY));
    return false;
}

void CHotKeySetting::OnDestroy()
{
    HotKeyChoice choice = HotKeyFromControl(ControlHotKey());
    SettingValues& pending = m_pSettings->pending;
    pending.hotKeyCode = choice.keyCode;
    pending.hotKeyModifier = choice.modifier;
    pending.hotKeyKeyCount = choice.keyCount;
    pending.hotKeyEnabled = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_HOTKEY) == BST_CHECKED ? 1 : 0;
}
