#include "settings/SettingsStore.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "framework/MessageBox.h"
#include "settings/ValueFormats.h"

namespace {
const REGSAM kAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
const char kErrorText[] = "Error";
const char kDefaultMode[] = "00001";
const char kDefaultHotKey[] = "12700";
const char kCustomNumber[] = "CustomNumber";
const char kWindowPos[] = "WindowPos";
const char kEndSessionClean[] = "EndSessionClean";

// The "Content" value of the categories' defaults ("11111100").
std::string DefaultContentText()
{
    int flags[kCategoryCount];
    for (const CategoryRow& row : kCategories)
        flags[row.content] = row.byDefault;
    return FormatContent(flags);
}

[[noreturn]] void RegistryFailure()
{
    AfxFatalExit("error");
}

HKEY CreateKeyOrExit()
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                          nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        RegistryFailure();
    return hKey;
}

void WriteTextOrExit(HKEY hKey, const char* name, const std::string& text)
{
    if (::RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        RegistryFailure();
}

// The value's bytes up to the first NUL; a value stored without one ends with
// its data.
bool ReadText(HKEY hKey, const char* name, std::string* text)
{
    DWORD size = 0;
    if (::RegQueryValueExA(hKey, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (size == MAXDWORD)
        return false;
    try {
        std::vector<char> buffer(size + 1, '\0');
        if (::RegQueryValueExA(hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS)
            return false;
        text->assign(buffer.data());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::string CustomName(long long index)
{
    return "Custom" + std::to_string(index);
}

// flags in the order of the "Content" characters.
void SetContent(SettingValues& values, const int (&flags)[kCategoryCount])
{
    for (const CategoryRow& row : kCategories)
        CategoryFlag(values, row.id) = flags[row.content];
}

void SetMode(SettingValues& values, int autoClean, int minutes)
{
    values.autoClean = autoClean;
    values.autoCleanMinutes = minutes;
}

void SetHotKey(SettingValues& values, int enabled, const HotKeyKeys& keys)
{
    values.hotKeyEnabled = enabled;
    values.hotKeyCode = keys.keyCode;
    values.hotKeyModifier = keys.modifier;
    values.hotKeyKeyCount = keys.keyCount;
}

void DefaultContent(HKEY hKey, CleanSettings& settings)
{
    const std::string content = DefaultContentText();
    WriteTextOrExit(hKey, "Content", content);
    int flags[kCategoryCount];
    ParseContent(content.c_str(), flags);
    SetContent(settings.applied, flags);
    SetContent(settings.pending, flags);
}

void DefaultMode(HKEY hKey, CleanSettings& settings)
{
    WriteTextOrExit(hKey, "Mode", kDefaultMode);
    SetMode(settings.applied, 0, 1);
    SetMode(settings.pending, 0, 1);
}

void DefaultHotKey(HKEY hKey, CleanSettings& settings)
{
    WriteTextOrExit(hKey, "HotKey", kDefaultHotKey);
    SetHotKey(settings.applied, 1, ResolveHotKey(27, 0));
    SetHotKey(settings.pending, 1, ResolveHotKey(27, 0));
}

void LoadContent(HKEY hKey, CleanSettings& settings)
{
    std::string text = ReadSettingText(hKey, "Content");
    int flags[kCategoryCount];
    if (text == kErrorText || !ParseContent(text.c_str(), flags)) {
        DefaultContent(hKey, settings);
        return;
    }
    SetContent(settings.applied, flags);
    SetContent(settings.pending, flags);
}

void LoadMode(HKEY hKey, CleanSettings& settings)
{
    std::string text = ReadSettingText(hKey, "Mode");
    ModeValue mode;
    // A signed interval below 1 is as unusable as 0.
    if (text == kErrorText || !ParseMode(text.c_str(), &mode) || mode.minutes < 1) {
        DefaultMode(hKey, settings);
        return;
    }
    SetMode(settings.applied, mode.autoClean, mode.minutes);
    SetMode(settings.pending, mode.autoClean, mode.minutes);
}

void LoadHotKey(HKEY hKey, CleanSettings& settings)
{
    std::string text = ReadSettingText(hKey, "HotKey");
    HotKeyValue value;
    if (text == kErrorText || !ParseHotKey(text.c_str(), &value)) {
        DefaultHotKey(hKey, settings);
        return;
    }
    // A disabled value keeps its keys too, so that turning it on restores them.
    // Negative codes name no key: they go, and the value is written back with
    // its switch kept, so that the hook library reads the same keys.
    bool negative = value.keyCode < 0 || value.modifier < 0;
    HotKeyKeys keys =
        ResolveHotKey(value.keyCode < 0 ? 0 : value.keyCode, value.modifier < 0 ? 0 : value.modifier);
    if (negative)
        WriteTextOrExit(hKey, "HotKey", FormatHotKey(value.enabled, keys.keyCode, keys.modifier));
    SetHotKey(settings.applied, value.enabled, keys);
    SetHotKey(settings.pending, value.enabled, keys);
}

void LoadFolders(HKEY hKey, CleanSettings& settings)
{
    DWORD size = 0;
    if (::RegQueryValueExA(hKey, kCustomNumber, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return;
    // The announced count only bounds the list: it ends at the first folder
    // value that cannot be read. A count that is no 4-byte number bounds nothing.
    long long count = LLONG_MAX;
    if (size == sizeof(DWORD)) {
        DWORD number = 0;
        if (::RegQueryValueExA(hKey, kCustomNumber, nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                               &size) != ERROR_SUCCESS)
            RegistryFailure();
        count = static_cast<LONG>(number);
    }
    for (long long k = 1; k <= count; ++k) {
        std::string folder;
        if (!ReadText(hKey, CustomName(k).c_str(), &folder))
            break;
        settings.customFolders.Append(folder);
    }
}

// Deletes every value of hKey whose name is not in keep. Failures are ignored:
// a left-over value is never read.
void RemoveOtherValues(HKEY hKey, const std::vector<std::string>& keep)
{
    std::vector<std::string> others;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD length = sizeof(name);
        LONG result = ::RegEnumValueA(hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        bool kept = false;
        for (const std::string& k : keep)
            if (_stricmp(k.c_str(), name) == 0)
                kept = true;
        if (!kept)
            others.push_back(name);
    }
    for (const std::string& name : others)
        ::RegDeleteValueA(hKey, name.c_str());
}
} // namespace

std::string ReadSettingText(HKEY hKey, const char* name)
{
    std::string text;
    if (!ReadText(hKey, name, &text))
        return kErrorText;
    return text;
}

void LoadSettings(CleanSettings& settings)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, kAccess, &hKey) != ERROR_SUCCESS) {
        // First start: the defaults, and no folder list.
        hKey = CreateKeyOrExit();
        DefaultContent(hKey, settings);
        DefaultMode(hKey, settings);
        DefaultHotKey(hKey, settings);
        ::RegCloseKey(hKey);
        return;
    }
    LoadContent(hKey, settings);
    LoadMode(hKey, settings);
    LoadHotKey(hKey, settings);
    LoadFolders(hKey, settings);
    // "1" is on; anything else, or nothing, is off and stays as it is.
    settings.applied.endSessionClean = settings.pending.endSessionClean =
        ReadSettingText(hKey, kEndSessionClean) == "1" ? 1 : 0;
    ::RegCloseKey(hKey);
}

void SaveSettings(const CleanSettings& settings)
{
    const SettingValues& values = settings.applied;
    HKEY hKey = CreateKeyOrExit();

    int flags[kCategoryCount];
    for (const CategoryRow& row : kCategories)
        flags[row.content] = CategoryFlag(values, row.id);
    WriteTextOrExit(hKey, "Content", FormatContent(flags));
    WriteTextOrExit(hKey, "Mode",
                    FormatMode(values.autoClean, static_cast<unsigned>(values.autoCleanMinutes)));
    WriteTextOrExit(hKey, "HotKey",
                    FormatHotKey(values.hotKeyEnabled, values.hotKeyCode, values.hotKeyModifier));

    // The folders before their count, so that a reader never finds the count
    // ahead of the values.
    std::vector<std::string> written = {"Content", "Mode", "HotKey", kCustomNumber, kWindowPos, kEndSessionClean};
    if (settings.writeEndSession)
        WriteTextOrExit(hKey, kEndSessionClean, values.endSessionClean ? "1" : "0");
    std::vector<std::string> folders = settings.customFolders.Snapshot();
    for (size_t i = 0; i < folders.size(); ++i) {
        written.push_back(CustomName(static_cast<long long>(i + 1)));
        WriteTextOrExit(hKey, written.back().c_str(), folders[i]);
    }
    DWORD number = static_cast<DWORD>(folders.size());
    if (::RegSetValueExA(hKey, kCustomNumber, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                         sizeof(number)) != ERROR_SUCCESS)
        RegistryFailure();

    RemoveOtherValues(hKey, written);
    ::RegCloseKey(hKey);
}

std::string LoadWindowPos()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return "";
    std::string text;
    if (!ReadText(hKey, kWindowPos, &text))
        text.clear();
    ::RegCloseKey(hKey);
    return text;
}

void SaveWindowPos(const std::string& text)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(hKey, kWindowPos, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(hKey);
}
