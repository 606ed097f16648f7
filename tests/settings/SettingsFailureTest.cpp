// A registry failure shows "error", and ends the process with exit code 0 once
// the box is dismissed. Run in a child whose HKEY_CURRENT_USER is redirected to
// a test key that refuses the store.
#include "settings/ValueFormats.h"

#include <gtest/gtest.h>

#include "tests/settings/SettingsTestKey.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {
const char kTestRoot[] = "Software\\BrightsweepTest";

struct ChildRun {
    bool started = false;
    bool boxWhileRunning = false;
    std::string text;
    std::string caption;
    DWORD exitCode = STILL_ACTIVE;
};

ChildRun RunChild(const std::string& args)
{
    ChildRun run;
    DWORD pid = 0;
    HANDLE hProcess = StartSibling("settings_fatal_child.exe", args, &pid);
    if (!hProcess)
        return run;
    run.started = true;
    HWND box = nullptr;
    PumpUntil(
        [&] {
            box = FindMessageBox(pid);
            return box || ::WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0;
        },
        30000);
    if (box) {
        run.boxWhileRunning = ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT;
        run.text = MessageBoxText(box);
        run.caption = WindowText(box);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    }
    if (::WaitForSingleObject(hProcess, 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(hProcess, &run.exitCode);
    else
        ::TerminateProcess(hProcess, 1);
    ::CloseHandle(hProcess);
    return run;
}

void ExpectFatalError(const ChildRun& run)
{
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.boxWhileRunning);
    EXPECT_EQ(run.text, "error");
    EXPECT_EQ(run.caption, "settings_fatal_child");
    EXPECT_EQ(run.exitCode, 0u);
}

void SetDacl(HKEY hKey, PACL acl)
{
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    ASSERT_EQ(::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
}

class RegistryFailure : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override
    {
        // Lift a read-only settings key's restriction so that it can go.
        HKEY hKey;
        std::string settings = std::string(kTestRoot) + "\\ReadOnly\\" + kSettingsKey;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, settings.c_str(), 0, WRITE_DAC, &hKey) == ERROR_SUCCESS) {
            SetDacl(hKey, nullptr);
            ::RegCloseKey(hKey);
        }
        DeleteKeyTree(HKEY_CURRENT_USER, kTestRoot);
    }
};

TEST_F(RegistryFailure, FirstStartThatCannotCreateTheKey)
{
    // Beneath a volatile key no lasting key can be made.
    HKEY hKey;
    std::string root = std::string(kTestRoot) + "\\Volatile";
    SetDword(HKEY_CURRENT_USER, kTestRoot, "marker", 1);
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);

    ExpectFatalError(RunChild("load " + root));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + "\\" + kSettingsKey));
}

TEST_F(RegistryFailure, SaveIntoAReadOnlyKeyLeavesItsValues)
{
    std::string root = std::string(kTestRoot) + "\\ReadOnly";
    std::string settings = root + "\\" + kSettingsKey;
    SetString(HKEY_CURRENT_USER, settings, "Content", "01010101");
    SetString(HKEY_CURRENT_USER, settings, "Mode", "10030");
    SetString(HKEY_CURRENT_USER, settings, "HotKey", "18117");

    HKEY hKey;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, settings.c_str(), 0, KEY_ALL_ACCESS, &hKey), ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    alignas(DWORD) char aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    ::InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
    ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    SetDacl(hKey, acl);
    ::FreeSid(everyone);
    ::RegCloseKey(hKey);

    ExpectFatalError(RunChild("save " + root));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, settings, "HotKey"), "18117");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, settings, "Mode"), "10030");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, settings, "CustomNumber"), "<missing>");
}

TEST_F(RegistryFailure, TheChildReportsSuccessWhenTheKeyIsWritable)
{
    // The same child on an ordinary key: no box, the store returns.
    std::string root = std::string(kTestRoot) + "\\Writable";
    SetDword(HKEY_CURRENT_USER, root, "marker", 1);
    ChildRun run = RunChild("save " + root);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.text, "");
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, root + "\\" + kSettingsKey, "HotKey"), "16500");
}
} // namespace
