// The HotKey page: the hot key on or off, and the key in a hot-key control.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/CleanSettings.h"

class CHotKeySetting : public CPropertyPage {
public:
    CHotKeySetting();
    void SetSettings(CleanSettings* settings) { m_pSettings = settings; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    bool ReadControls() override;
    void OnDestroy() override;

private:
    WORD ControlHotKey() const;

    CleanSettings* m_pSettings = nullptr;
};
