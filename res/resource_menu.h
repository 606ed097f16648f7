// Tray menu: the menu resource (also the tray icon's id) and its commands.
#pragma once

#define IDR_TRAYMENU 195

#define IDM_EXIT 32773
#define IDM_HOTKEY_ON 32774
#define IDM_HOTKEY_OFF 32775
#define IDM_AUTO_ON 32778
#define IDM_AUTO_OFF 32779
#define IDM_MAXIMIZE 32780
#define IDM_MINIMIZE 32781
#define IDM_CLEAN_NOW 32790
#define IDM_PREVIEW 32791
