// The Mode page: auto-clean on or off and its interval in minutes.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/pages/SettingsOwner.h"

class CModeSetting : public CPropertyPage {
public:
    CModeSetting();
    void SetMainWindow(CSettingsOwner* owner) { m_pOwner = owner; }

protected:
    BOOL OnInitDialog() override;
    bool ReadControls() override;
    void OnDestroy() override;

private:
    CSettingsOwner* m_pOwner = nullptr;
    unsigned m_nMinutes = 0;
};
