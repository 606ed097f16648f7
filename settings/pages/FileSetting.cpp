#include "settings/pages/FileSetting.h"

#include "res/resource.h"

namespace {
struct CategoryBox {
    UINT id;
    int SettingValues::*flag;
};
// Each category's box, from its row; the build puts the boxes in the page.
const CategoryBox kBoxes[] = {
#define CATEGORY(id, name, log, on, content, field, box, ...) {CATEGORY_BOX_ID box, &SettingValues::field},
#include "engine/Categories.def"
#undef CATEGORY
};
static_assert(sizeof(kBoxes) / sizeof(kBoxes[0]) == kCategoryCount, "a box per category");
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
