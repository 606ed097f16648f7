// What the settings sheet and its pages need of the main window: the settings
// record, the window that owns the sheet, and the sheet's OK and Cancel.
#pragma once
#include <windows.h>

#include "settings/CleanSettings.h"

class CSettingsOwner {
public:
    virtual CleanSettings& Settings() = 0;
    virtual HWND SheetOwnerWindow() = 0;
    // What the pages changed to applied, saved and put in force.
    virtual void CommitPendingSettings() = 0;
    // Applied back to pending, saved.
    virtual void RevertPendingSettings() = 0;
    // The sheet's thread is done with the owner.
    virtual void SettingsSheetEnded() = 0;

protected:
    ~CSettingsOwner() = default;
};
