#include "settings/StartupEntry.h"

#include <vector>
#include <windows.h>

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Brightsweep";

std::string StartupCommand(const std::string& exePath)
{
    return "\"" + exePath + "\" /tray";
}

bool CommandStartsProgram(const std::string& command, const std::string& exePath)
{
    size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos || exePath.empty())
        return false;
    std::string first;
    if (command[start] == '"') {
        size_t end = command.find('"', start + 1);
        if (end == std::string::npos)
            return false;
        first = command.substr(start + 1, end - start - 1);
    } else {
        size_t end = command.find_first_of(" \t", start);
        first = command.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    // By the user's code page, double-byte names included.
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.c_str(), -1, exePath.c_str(), -1) ==
           CSTR_EQUAL;
}

std::string ProgramPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return "";
        if (n < path.size() - 1)
            return std::string(path.data(), n);
        path.resize(path.size() * 2);
    }
}

bool StartsWithWindows()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool found = false;
    if (::RegQueryValueExA(hKey, kRunValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size < 0x10000) {
        std::vector<char> data(size + 1, '\0');
        if (::RegQueryValueExA(hKey, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS)
            found = CommandStartsProgram(data.data(), ProgramPath());
    }
    ::RegCloseKey(hKey);
    return found;
}

bool SetStartWithWindows(bool on)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                          &hKey, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result;
    if (on) {
        std::string command = StartupCommand(ProgramPath());
        result = ::RegSetValueExA(hKey, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                  static_cast<DWORD>(command.size() + 1));
    } else {
        result = ::RegDeleteValueA(hKey, kRunValue);
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}
