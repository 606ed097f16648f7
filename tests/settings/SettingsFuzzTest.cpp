// Random and malformed stored values: every load ends, leaves a valid record,
// and leaves the registry saying what the record says.
#include <algorithm>
#include <cstring>
#include <random>

#include "settings/SettingsStore.h"
#include "settings/ValueFormats.h"
#include "tests/settings/SettingsTestKey.h"
#include "tests/support/Registry.h"

namespace {
class SettingsFuzz : public SettingsKeyTest {
protected:
    std::mt19937 m_random{20240611};

    std::string RandomText()
    {
        static const char alphabet[] = "0000111122789 -+x\t\xff";
        // Mostly near the expected lengths, sometimes anything up to 12.
        int length = static_cast<int>(m_random() % 4 == 0 ? m_random() % 13 : 4 + m_random() % 6);
        std::string text;
        for (int i = 0; i < length; ++i)
            text += alphabet[m_random() % (sizeof(alphabet) - 1)];
        return text;
    }

    // Stores text under name as a string, as bytes without a NUL, or as a number.
    void StoreRandomly(const char* name, const std::string& text)
    {
        HKEY hKey;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &hKey, nullptr),
                  ERROR_SUCCESS);
        DWORD number = m_random();
        switch (m_random() % 6) {
        case 0:
            ::RegSetValueExA(hKey, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>(text.size()));
            break;
        case 1:
            ::RegSetValueExA(hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                             sizeof(number));
            break;
        default:
            ::RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1));
        }
        ::RegCloseKey(hKey);
    }

    void LoadChecked(CleanSettings& s)
    {
        LoadSettings(s);
        ASSERT_TRUE(IsValidRecord(s.applied));
        ASSERT_TRUE(SameValues(s.applied, s.pending));
    }

    // Stores random texts as name beside a valid triple; check gets the record
    // and the value's stored text after each load. The other two stay as stored.
    template <class Check> void Fuzz(const char* name, Check check)
    {
        const char* triple[][2] = {{"Content", "01010101"}, {"Mode", "10030"}, {"HotKey", "18117"}};
        for (int i = 0; i < 300; ++i) {
            std::string text = RandomText();
            SCOPED_TRACE(text);
            StoreValidTriple();
            StoreRandomly(name, text);
            CleanSettings s;
            LoadChecked(s);
            check(s.applied, Stored(name));
            for (const auto& other : triple) {
                if (std::strcmp(other[0], name) != 0) {
                    ASSERT_EQ(Stored(other[0]), other[1]);
                }
            }
            if (HasFatalFailure())
                return;
        }
    }
};

TEST_F(SettingsFuzz, Content)
{
    Fuzz("Content", [](const SettingValues& v, const std::string& stored) {
        int flags[kCategoryCount];
        ASSERT_TRUE(ParseContent(stored.c_str(), flags));
        int loaded[kCategoryCount] = {v.cleanCache,     v.cleanHistory,      v.cleanCookies,
                                      v.cleanTypedUrls, v.cleanRecent,       v.cleanSystemTemp,
                                      v.cleanFavorites, v.cleanCustomFolders};
        for (int k = 0; k < kCategoryCount; ++k)
            ASSERT_EQ(loaded[k], flags[k]) << k;
    });
}

TEST_F(SettingsFuzz, Mode)
{
    Fuzz("Mode", [](const SettingValues& v, const std::string& stored) {
        ModeValue mode;
        ASSERT_TRUE(ParseMode(stored.c_str(), &mode));
        ASSERT_EQ(v.autoClean, mode.autoClean);
        ASSERT_EQ(v.autoCleanMinutes, mode.minutes);
    });
}

// The record holds the keys that the hook library reads from the stored value.
TEST_F(SettingsFuzz, HotKey)
{
    Fuzz("HotKey", [](const SettingValues& v, const std::string& stored) {
        HotKeyValue value;
        ASSERT_TRUE(ParseHotKey(stored.c_str(), &value));
        HotKeyKeys keys = ResolveHotKey(value.keyCode, value.modifier);
        ASSERT_EQ(v.hotKeyEnabled, value.enabled);
        ASSERT_EQ(v.hotKeyCode, keys.keyCode);
        ASSERT_EQ(v.hotKeyModifier, keys.modifier);
        ASSERT_EQ(v.hotKeyKeyCount, keys.keyCount);
    });
}

TEST_F(SettingsFuzz, CustomNumber)
{
    for (int i = 0; i < 300; ++i) {
        DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        StoreValidTriple();
        int present = static_cast<int>(m_random() % 4);
        for (int k = 1; k <= present; ++k)
            Store(("Custom" + std::to_string(k)).c_str(), "C:\\f" + std::to_string(k));
        DWORD count = 0;
        switch (m_random() % 4) {
        case 0:
            count = m_random() % 6;
            break;
        case 1:
            count = static_cast<DWORD>(-static_cast<int>(m_random() % 1000));
            break;
        default:
            count = m_random();
        }
        bool asNumber = m_random() % 3 != 0;
        if (asNumber)
            SetDword(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", count);
        else
            StoreRandomly("CustomNumber", RandomText());
        SCOPED_TRACE(std::to_string(count) + (asNumber ? " as a number" : " random"));

        CleanSettings s;
        EndsWithin(60000, [&] { LoadChecked(s); });
        if (HasFatalFailure())
            return;
        std::vector<std::string> folders = s.customFolders.Snapshot();
        ASSERT_LE(folders.size(), static_cast<size_t>(present));
        if (asNumber) {
            size_t announced = static_cast<int>(count) <= 0 ? 0u : std::min<size_t>(count, present);
            ASSERT_EQ(folders.size(), announced);
        }
        for (size_t k = 0; k < folders.size(); ++k)
            ASSERT_EQ(folders[k], "C:\\f" + std::to_string(k + 1));
    }
}
} // namespace
