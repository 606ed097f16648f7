#include "settings/pages/FileSetting.h"

#include "res/resource.h"

namespace {
struct CategoryBox {
    UINT id;
    int SettingValues::*flag;
};
const CategoryBox kBoxes[] = {
    {IDC_CHECK_CACHE, &SettingValues::cleanCache},
    {IDC_CHECK_COOKIES, &SettingValues::cleanCookies},
    {IDC_CHECK_FAVORITES, &SettingValues::cleanFavorites},
    {IDC_CHECK_HISTORY, &SettingValues::cleanHistory},
    {IDC_CHECK_RECENT, &SettingValues::cleanRecent},
    {IDC_CHECK_TYPEDURLS, &SettingValues::cleanTypedUrls},
    {IDC_CHECK_TEMP, &SettingValues::cleanSystemTemp},
    {IDC_CHECK_CUSTOM, &SettingValues::cleanCustomFolders},
};
} // namespace

CFileSetting::CFileSetting() : CPropertyPage(IDD_CONTENT) {}

BOOL CFileSetting::OnInitDialog()
{
    const SettingValues& applied = m_pSettings->applied;
    for (const CategoryBox& box : kBoxes)
        ::CheckDlgButton(m_hWnd, box.id, applied.*box.flag == 1 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CFileSetting::OnDestroy()
{
    SettingValues& pending = m_pSettings->pending;
    for (const CategoryBox& box : kBoxes)
        pending.*box.flag = ::IsDlgButtonChecked(m_hWnd, box.id) == BST_CHECKED ? 1 : 0;
}
