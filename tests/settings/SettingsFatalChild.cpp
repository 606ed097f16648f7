// Child of the registry failure tests: loads or saves the settings with
// HKEY_CURRENT_USER redirected to HKEY_CURRENT_USER\<root>.
//   settings_fatal_child load|save <root>
// Exit code 5 means the store returned, which a registry failure must not.
#include <cstring>

#include "settings/SettingsStore.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    HKEY hRoot;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, argv[2], 0, KEY_ALL_ACCESS, &hRoot) != ERROR_SUCCESS)
        return 3;
    if (::RegOverridePredefKey(HKEY_CURRENT_USER, hRoot) != ERROR_SUCCESS)
        return 4;
    CleanSettings settings;
    if (std::strcmp(argv[1], "load") == 0) {
        LoadSettings(settings);
    } else if (std::strcmp(argv[1], "save") == 0) {
        settings.applied.hotKeyCode = 65;
        SaveSettings(settings);
    } else {
        return 2;
    }
    return 5;
}
