// The settings sheet "Setting" with its four pages, run on a thread of its own
// over a copy of the settings.
#pragma once
#include <windows.h>

#include "settings/CleanSettings.h"

class CCustom;
class CFileSetting;
class CHotKeySetting;
class CModeSetting;
class CPropertySheet;

// Sent by the sheet's thread to the owner window when the sheet closes:
// wParam = IDOK or IDCANCEL, lParam = the sheet's CleanSettings, valid during
// the call. The owner's thread takes over what it needs (CommitSheet on OK,
// RevertSheet otherwise).
const UINT WM_SETTINGS_SHEET_CLOSED = WM_APP + 1;

// Handed by the main window to the sheet's thread, which frees it.
struct SettingsSheetContext {
    CFileSetting* contentPage = nullptr;
    CHotKeySetting* hotKeyPage = nullptr;
    CModeSetting* modePage = nullptr;
    CCustom* customPage = nullptr;
    CPropertySheet* sheet = nullptr;
    HWND owner = nullptr;
    // The sheet's own copy, taken by the main window when it opens the sheet.
    CleanSettings settings;
};

// The thread procedure: param is a SettingsSheetContext allocated with new.
// Shows the sheet owned by the owner window, then hands the result to it in
// one WM_SETTINGS_SHEET_CLOSED. Returns 1.
UINT SettingsSheetThread(LPVOID param);
