// The settings sheet "Setting" with its four pages, run on a thread of its own.
#pragma once
#include <windows.h>

class CCustom;
class CFileSetting;
class CHotKeySetting;
class CModeSetting;
class CPropertySheet;
class CSettingsOwner;

// Handed by the main window to the sheet's thread, which frees it.
struct SettingsSheetContext {
    CFileSetting* contentPage = nullptr;
    CHotKeySetting* hotKeyPage = nullptr;
    CModeSetting* modePage = nullptr;
    CCustom* customPage = nullptr;
    CPropertySheet* sheet = nullptr;
    CSettingsOwner* owner = nullptr;
};

// The thread procedure: param is a SettingsSheetContext allocated with new.
// Shows the sheet owned by the owner's window; OK commits, anything else
// reverts. Returns 1.
UINT SettingsSheetThread(LPVOID param);
