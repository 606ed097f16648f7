// Random and malformed stored values: every load ends with a valid record; a
// value it rewrites is its default or in the form the program writes; and the
// record it loaded is saved and read back as itself.
#include <algorithm>
#include <cstring>
#include <random>

#include "settings/SettingsStore.h"
#include "settings/ValueFormats.h"
#include "tests/settings/SettingsTestKey.h"
#include "tests/support/Registry.h"

namespace {
using Fields = std::vector<int>;

class SettingsFuzz : public SettingsKeyTest {
protected:
    std::mt19937 m_random{20240611};

    // A third of the time length characters from wellFormed; else mostly near
    // that length, sometimes anything up to 12, from a wider alphabet.
    std::string RandomText(size_t length, const char* wellFormed)
    {
        static const char anything[] = "0000111122789 -+x\t\xff";
        const char* alphabet = m_random() % 3 == 0 ? wellFormed : anything;
        if (alphabet == anything)
            length = m_random() % 4 == 0 ? m_random() % 13 : length - 2 + m_random() % 5;
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[m_random() % std::strlen(alphabet)];
        return text;
    }

    // Stores text under name as a string, as bytes without a NUL, or as a
    // number; returns the type.
    DWORD StoreRandomly(const char* name, const std::string& text)
    {
        DWORD number = m_random(), type = m_random() % 6 == 0   ? REG_BINARY
                                          : m_random() % 5 == 0 ? REG_DWORD
                                                                : REG_SZ;
        if (type == REG_DWORD)
            SetDword(HKEY_CURRENT_USER, kSettingsKey, name, number);
        else if (type == REG_SZ)
            Store(name, text);
        HKEY hKey;
        if (type == REG_BINARY &&
            ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey,
                              nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExA(hKey, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>(text.size()));
            ::RegCloseKey(hKey);
        }
        return type;
    }

    std::string Raw(const char* name) const
    {
        DWORD type = 0;
        std::string data;
        return ReadValue(HKEY_CURRENT_USER, kSettingsKey, name, &type, &data)
                   ? std::to_string(type) + ":" + data
                   : "<missing>";
    }

    void LoadChecked(CleanSettings& s)
    {
        EndsWithin(60000, [&] { LoadSettings(s); });
        ASSERT_TRUE(IsValidRecord(s.applied));
        ASSERT_TRUE(SameValues(s.applied, s.pending));
    }

    // Stores random texts as name beside a valid triple. fields picks the
    // record's fields that the value holds; canonical says whether a text is
    // in the form the program writes.
    template <class Pick, class Canonical>
    void Fuzz(const char* name, size_t length, const char* wellFormed, const char* defaultText, Pick fields,
              Canonical canonical)
    {
        auto others = [&] {
            std::string raw;
            for (const char* other : {"Content", "Mode", "HotKey"})
                raw += std::strcmp(other, name) != 0 ? Raw(other) + "|" : "";
            return raw;
        };
        for (int i = 0; i < 300 && !HasFatalFailure(); ++i) {
            const std::string text = RandomText(length, wellFormed);
            SCOPED_TRACE(text);
            StoreValidTriple();
            const DWORD type = StoreRandomly(name, text);
            const std::string before = Raw(name), othersBefore = others();
            CleanSettings s;
            LoadChecked(s);
            const std::string loaded = Stored(name);
            const bool repaired = Raw(name) != before;
            if (repaired && loaded == defaultText) {
                ASSERT_EQ(fields(s.applied), fields(SettingValues()));
            }
            ASSERT_EQ(others(), othersBefore) << "the other two stay";

            SaveSettings(s);
            const std::string saved = Stored(name);
            if (repaired) {
                ASSERT_EQ(saved, loaded) << "a repair writes the program's own form";
            } else if (type == REG_SZ && canonical(text)) {
                ASSERT_EQ(saved, text);
            }
            CleanSettings again;
            LoadChecked(again);
            ASSERT_TRUE(SameValues(again.applied, s.applied));
            ASSERT_EQ(Stored(name), saved);
        }
    }
};

bool AllOf(const std::string& text, size_t from, const char* allowed)
{
    return text.find_first_not_of(allowed, from) == std::string::npos;
}

TEST_F(SettingsFuzz, Content)
{
    Fuzz(
        "Content", 8, "01", "11111100",
        [](const SettingValues& v) {
            return Fields{v.cleanCache,  v.cleanHistory,    v.cleanCookies,   v.cleanTypedUrls,
                          v.cleanRecent, v.cleanSystemTemp, v.cleanFavorites, v.cleanCustomFolders};
        },
        [](const std::string& t) { return t.size() == 8 && AllOf(t, 0, "01"); });
}

TEST_F(SettingsFuzz, Mode)
{
    Fuzz(
        "Mode", 5, "0123456789", "00001",
        [](const SettingValues& v) {
            return Fields{v.autoClean, v.autoCleanMinutes};
        },
        [](const std::string& t) {
            return t.size() == 5 && (t[0] == '0' || t[0] == '1') && AllOf(t, 1, "0123456789") &&
                   t.substr(1) != "0000";
        });
}

TEST_F(SettingsFuzz, HotKey)
{
    Fuzz(
        "HotKey", 5, "0123456789", "12700",
        [](const SettingValues& v) {
            return Fields{v.hotKeyEnabled, v.hotKeyCode, v.hotKeyModifier, v.hotKeyKeyCount};
        },
        [](const std::string& t) {
            return t.size() == 5 && t[0] == '1' && AllOf(t, 1, "0123456789") && t.substr(1, 2) != "00";
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
            StoreRandomly("CustomNumber", RandomText(4, "0123456789"));
        SCOPED_TRACE(std::to_string(count) + (asNumber ? " as a number" : " random"));

        CleanSettings s;
        LoadChecked(s);
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
