// The "HotKey" settings value for hook tests, in the test prefix's HKCU: set
// as a test needs it and put back as it was afterwards.
#pragma once
#include <windows.h>
#include <string>

extern const char kSettingKey[];

// Restores the settings key and its "HotKey" value when it goes out of scope.
class SavedHotKey {
public:
    SavedHotKey();
    ~SavedHotKey();

private:
    bool m_keyExisted;
    bool m_valueExisted;
    DWORD m_type = 0;
    std::string m_data;
};

// A REG_SZ value with its NUL.
void SetHotKey(const std::string& text);
// Exactly these bytes, with this type.
void SetHotKeyRaw(DWORD type, const std::string& bytes);
