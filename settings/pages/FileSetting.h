// The Content page: one check box per cleaning category.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/pages/SettingsOwner.h"

class CFileSetting : public CPropertyPage {
public:
    CFileSetting();
    void SetMainWindow(CSettingsOwner* owner) { m_pOwner = owner; }

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    CSettingsOwner* m_pOwner = nullptr;
};
