#include "tests/settings/SettingsTestKey.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "settings/ValueFormats.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

const char kSettingsParent[] = "Software\\Brightsweep1.0";

void SettingsKeyTest::SetUp()
{
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsParent);
}

void SettingsKeyTest::TearDown()
{
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsParent);
}

std::vector<std::string> SettingValueNames()
{
    std::vector<std::string> names;
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD length = sizeof(name);
        if (::RegEnumValueA(hKey, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    ::RegCloseKey(hKey);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
    return names;
}

std::string Stored(const char* name)
{
    return ReadString(HKEY_CURRENT_USER, kSettingsKey, name);
}

void Store(const char* name, const std::string& text)
{
    SetString(HKEY_CURRENT_USER, kSettingsKey, name, text);
}

void StoreValidTriple()
{
    Store("Content", "01010101");
    Store("Mode", "10030");
    Store("HotKey", "18117");
}

::testing::AssertionResult IsValidRecord(const SettingValues& v)
{
    const int flags[] = {v.autoClean,      v.hotKeyEnabled,     v.cleanCache,  v.cleanHistory,
                         v.cleanCookies,   v.cleanTypedUrls,    v.cleanRecent, v.cleanSystemTemp,
                         v.cleanFavorites, v.cleanCustomFolders};
    for (int flag : flags)
        if (flag != 0 && flag != 1)
            return ::testing::AssertionFailure() << "a flag of " << flag;
    if (v.autoCleanMinutes < 1 || v.autoCleanMinutes > 9999)
        return ::testing::AssertionFailure() << "interval " << v.autoCleanMinutes;
    if (v.hotKeyCode < 1 || v.hotKeyCode > 99 || v.hotKeyModifier < 0 || v.hotKeyModifier > 99)
        return ::testing::AssertionFailure() << "keys " << v.hotKeyCode << "/" << v.hotKeyModifier;
    if (v.hotKeyKeyCount != (v.hotKeyModifier != 0 ? 2 : 1))
        return ::testing::AssertionFailure() << "key count " << v.hotKeyKeyCount;
    return ::testing::AssertionSuccess();
}

bool SameValues(const SettingValues& a, const SettingValues& b)
{
    return std::memcmp(&a, &b, sizeof(SettingValues)) == 0;
}

namespace {
class BoxWatch : public ::testing::Environment {
public:
    void SetUp() override { m_hThread = ::CreateThread(nullptr, 0, Watch, this, 0, nullptr); }
    void TearDown() override
    {
        m_stop = 1;
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
    }

private:
    static DWORD WINAPI Watch(LPVOID param)
    {
        auto* self = static_cast<BoxWatch*>(param);
        while (!self->m_stop) {
            if (HWND box = FindMessageBox(::GetCurrentProcessId())) {
                std::fprintf(stderr, "message box shown: \"%s\"\n", MessageBoxText(box).c_str());
                std::fflush(stderr);
                ::TerminateProcess(::GetCurrentProcess(), 99);
            }
            ::Sleep(200);
        }
        return 0;
    }

    HANDLE m_hThread = nullptr;
    volatile LONG m_stop = 0;
};

::testing::Environment* const g_boxWatch = ::testing::AddGlobalTestEnvironment(new BoxWatch);
} // namespace

void EndsWithin(DWORD limitMs, const std::function<void()>& work)
{
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        work();
        ::SetEvent(done);
    });
    if (::WaitForSingleObject(done, limitMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "still working after " << limitMs << " ms";
        std::fflush(stdout);
        std::_Exit(1);
    }
    worker.join();
    ::CloseHandle(done);
}
