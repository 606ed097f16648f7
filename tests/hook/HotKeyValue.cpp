#include "tests/hook/HotKeyValue.h"

#include "tests/support/Registry.h"

const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";

SavedHotKey::SavedHotKey()
    : m_keyExisted(KeyExists(HKEY_CURRENT_USER, kSettingKey)),
      m_valueExisted(ReadValue(HKEY_CURRENT_USER, kSettingKey, "HotKey", &m_type, &m_data))
{
}

SavedHotKey::~SavedHotKey()
{
    if (!m_keyExisted)
        DeleteKeyTree(HKEY_CURRENT_USER, kSettingKey);
    else if (m_valueExisted)
        SetHotKeyRaw(m_type, m_data);
    else
        DeleteValue(HKEY_CURRENT_USER, kSettingKey, "HotKey");
}

void SetHotKey(const std::string& text)
{
    SetString(HKEY_CURRENT_USER, kSettingKey, "HotKey", text);
}

void SetHotKeyRaw(DWORD type, const std::string& bytes)
{
    HKEY h = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    ::RegSetValueExA(h, "HotKey", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(h);
}
