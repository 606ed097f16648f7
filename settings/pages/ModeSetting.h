// The Mode page: auto-clean on or off and its interval in minutes, and the
// start with Windows and the clean when Windows ends the session.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/CleanSettings.h"

class CModeSetting : public CPropertyPage {
public:
    CModeSetting();
    void SetSettings(CleanSettings* settings) { m_pSettings = settings; }

protected:
    BOOL OnInitDialog() override;
    bool ReadControls() override;
    void OnDestroy() override;

private:
    CleanSettings* m_pSettings = nullptr;
    unsigned m_nMinutes = 0;
};
