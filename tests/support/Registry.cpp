#include "tests/support/Registry.h"

#include <vector>

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void DeleteKeyTree(HKEY root, const std::string& subKey)
{
    HKEY h;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS)
        return;
    char name[256];
    for (;;) {
        DWORD len = sizeof(name);
        if (::RegEnumKeyExA(h, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteKeyTree(h, name);
    }
    ::RegCloseKey(h);
    ::RegDeleteKeyA(root, subKey.c_str());
}

bool KeyExists(HKEY root, const std::string& subKey)
{
    HKEY h;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(h);
    return true;
}

static HKEY Create(HKEY root, const std::string& subKey)
{
    HKEY h = nullptr;
    ::RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    return h;
}

void SetString(HKEY root, const std::string& subKey, const std::string& name, const std::string& value)
{
    HKEY h = Create(root, subKey);
    ::RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(h);
}

void SetDword(HKEY root, const std::string& subKey, const std::string& name, DWORD value)
{
    HKEY h = Create(root, subKey);
    ::RegSetValueExA(h, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(h);
}

void DeleteValue(HKEY root, const std::string& subKey, const std::string& name)
{
    HKEY h;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS)
        return;
    ::RegDeleteValueA(h, name.c_str());
    ::RegCloseKey(h);
}

bool ReadValue(HKEY root, const std::string& subKey, const std::string& name, DWORD* type,
               std::string* data)
{
    HKEY h;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG r = ::RegQueryValueExA(h, name.c_str(), nullptr, type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        std::vector<char> buf(size + 1, '\0');
        r = ::RegQueryValueExA(h, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buf.data()), &size);
        data->assign(buf.data(), size);
    }
    ::RegCloseKey(h);
    return r == ERROR_SUCCESS;
}

std::string ReadString(HKEY root, const std::string& subKey, const std::string& name,
                       const std::string& fallback)
{
    DWORD type = 0;
    std::string data;
    if (!ReadValue(root, subKey, name, &type, &data))
        return fallback;
    return std::string(data.c_str());
}
