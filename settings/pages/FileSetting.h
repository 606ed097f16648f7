// The Content page: one check box per cleaning category.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/CleanSettings.h"

class CFileSetting : public CPropertyPage {
public:
    CFileSetting();
    void SetSettings(CleanSettings* settings) { m_pSettings = settings; }

protected:
    BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    CleanSettings* m_pSettings = nullptr;
};
