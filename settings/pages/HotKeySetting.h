// The HotKey page: the hot key on or off, and the key in a hot-key control.
#pragma once
#include "framework/PropertyPage.h"
#include "settings/pages/SettingsOwner.h"

class CHotKeySetting : public CPropertyPage {
public:
    CHotKeySetting();
    void SetMainWindow(CSettingsOwner* owner) { m_pOwner = owner; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    bool ReadControls() override;
    void OnDestroy() override;

private:
    WORD ControlHotKey() const;

    CSettingsOwner* m_pOwner = nullptr;
};
