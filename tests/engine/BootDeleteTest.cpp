// Files that another program holds open in the browser's folders are deleted
// at the next start of Windows, which `wineboot -r` plays in the test prefix.
#include "engine/BootDelete.h"
#include "engine/DeleteWalk.h"
#include "engine/NtFiles.h"
#include "tests/engine/EngineFixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

TEST(WinInitTextTest, OneLineJoinsTheRenameSectionEveryOtherLineStaysAndTheLimitHolds)
{
    std::string text = "[Other]\r\nNUL=C:\\B\r\n\r\n [ Rename ]\r\nC:\\NEW.DLL=C:\\OLD.DLL\r\n"
                       "nul = c:\\x\\y.dat\r\n\r\n[Next]\r\nk=v";
    const std::string added = "[Other]\r\nNUL=C:\\B\r\n\r\n [ Rename ]\r\nC:\\NEW.DLL=C:\\OLD.DLL\r\n"
                              "nul = c:\\x\\y.dat\r\nNUL=C:\\B\r\n\r\n[Next]\r\nk=v";
    EXPECT_EQ(AddWinInitDeletion(text, "C:\\B", added.size() - 1), WinInitEdit::NoRoom);
    EXPECT_EQ(AddWinInitDeletion(text, "C:\\B", added.size()), WinInitEdit::Added);
    EXPECT_EQ(text, added);
    // Listed already, in any letter case or spacing: nothing changes.
    EXPECT_EQ(AddWinInitDeletion(text, "C:\\X\\Y.DAT", kWinInitMaxBytes), WinInitEdit::Listed);
    EXPECT_EQ(AddWinInitDeletion(text, "C:\\B", kWinInitMaxBytes), WinInitEdit::Listed);
    EXPECT_EQ(text, added);

    text = "[rename]\nNUL=C:\\Z";
    EXPECT_EQ(AddWinInitDeletion(text, "C:\\W", kWinInitMaxBytes), WinInitEdit::Added);
    EXPECT_EQ(text, "[rename]\nNUL=C:\\Z\r\nNUL=C:\\W\r\n");
    text.clear();
    AddWinInitDeletion(text, "C:\\A", kWinInitMaxBytes);
    EXPECT_EQ(text, "[rename]\r\nNUL=C:\\A\r\n");
}

TEST(PendingListTest, OnlyDeletionsOfThePathCountAndCutDataIsNotOverread)
{
    const char data[] = "\\??\\C:\\Cache\\index.dat\0\0\\??\\C:\\moved\0\\??\\C:\\to\0"
                        "\\??\\UNC\\srv\\share\\f\0\0";
    EXPECT_TRUE(HasPendingDeletion(data, sizeof(data), "c:\\CACHE\\INDEX.DAT"));
    EXPECT_TRUE(HasPendingDeletion(data, sizeof(data), "\\\\srv\\share\\f"));
    EXPECT_FALSE(HasPendingDeletion(data, sizeof(data), "C:\\moved"));
    // The deletion's empty target cut off.
    EXPECT_FALSE(HasPendingDeletion(data, 23, "C:\\Cache\\index.dat"));
}

std::string WinInitFile()
{
    char dir[MAX_PATH];
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\WININIT.INI";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ShortPath(const std::string& path)
{
    char out[MAX_PATH];
    DWORD n = ::GetShortPathNameA(path.c_str(), out, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(out, n) : "<no short path for " + path + ">";
}

// The deletions in the system's list, in its order, without the "\??\".
std::vector<std::string> PendingDeletions()
{
    DWORD type = 0;
    std::string data;
    std::vector<std::string> out;
    if (!ReadValue(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                   "PendingFileRenameOperations", &type, &data))
        return out;
    for (size_t pos = 0; pos < data.size() && data[pos];) {
        std::string from = data.c_str() + pos;
        pos += from.size() + 1;
        std::string to = pos < data.size() ? data.c_str() + pos : "";
        pos += to.size() + 1;
        if (to.empty())
            out.push_back(from.compare(0, 4, "\\??\\") == 0 ? from.substr(4) : from);
    }
    return out;
}

class BootDeleteTest : public EngineTest {
protected:
    void TearDown() override
    {
        for (HANDLE h : holders) {
            ::TerminateProcess(h, 0);
            ::WaitForSingleObject(h, 10000);
            ::CloseHandle(h);
        }
        DeleteKeyTree(HKEY_CURRENT_USER, kProbeVersionKey);
    }

    // Another program opens path without sharing and keeps it open.
    void HoldOpen(const std::string& path)
    {
        WriteFile(path, "visited addresses");
        HANDLE process = StartSibling("engine_probe.exe", "hold \"" + path + "\"", nullptr);
        ASSERT_TRUE(process);
        holders.push_back(process);
        ASSERT_TRUE(PumpUntil([&] {
            HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                ::CloseHandle(h);
            return h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION;
        }, 30000));
    }

    // What a restart does to the programs: they end, then the system starts.
    void RestartWindows()
    {
        TearDown();
        holders.clear();
        char cmd[] = "wineboot.exe -r";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }

    size_t TimesPending(const std::string& path) const
    {
        std::vector<std::string> list = PendingDeletions();
        return std::count_if(list.begin(), list.end(),
                             [&](const std::string& p) { return _stricmp(p.c_str(), path.c_str()) == 0; });
    }

    std::unique_ptr<CFolderTable> CacheAndTempTable()
    {
        auto t = MakeTable();
        t->SetEnabled(Category::Cache, TRUE);
        t->SetEnabled(Category::Temp, TRUE);
        return t;
    }

    std::vector<HANDLE> holders;
    const char* kProbeVersionKey = "Software\\Wine\\AppDefaults\\engine_probe.exe";
    // Temp's held file stays as it is; the Cache's go at the next start.
    const char* kRunLog = "Begin cleaning...\r\nCleaning Temp...1 left: 1 in use\r\n"
                          "Cleaning Cache...1 left: 1 in use (deleted when Windows restarts)\r\n"
                          "End cleaning...OK\r\n";
};

TEST_F(BootDeleteTest, HeldFilesOfTheBrowserFoldersAreScheduledOnceAndGoAtTheNextStart)
{
    const std::string content = Folder("Cache") + "\\Content.IE5";
    MakeDir(content);
    WriteFile(content + "\\page.htm");
    HoldOpen(content + "\\index.dat");
    HoldOpen(Folder("Cache") + "\\index.dat");
    HoldOpen(Folder("Temp") + "\\held.tmp");
    // A read-only file keeps its folder for good: that folder is not scheduled.
    const std::string mixed = Folder("Cache") + "\\Mixed";
    MakeDir(mixed);
    HoldOpen(mixed + "\\index.dat");
    WriteFile(mixed + "\\kept.txt");
    ::SetFileAttributesA((mixed + "\\kept.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    auto t = CacheAndTempTable();
    t->Run();
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...1 left: 1 in use\r\n"
                     "Cleaning Cache...4 left: 3 in use (deleted when Windows restarts), 1 read-only\r\n"
                     "End cleaning...OK\r\n");
    EXPECT_EQ(t->RunTally().scheduled, 3u);
    EXPECT_EQ(t->RunTally().files, 5u); // a.txt and sub\b.txt of each folder, and page.htm
    t->Run();
    EXPECT_EQ(ListDir(Folder("Cache")), (std::vector<std::string>{"Content.IE5", "Mixed", "index.dat"}));
    EXPECT_EQ(TimesPending(mixed + "\\index.dat"), 1u);
    EXPECT_EQ(TimesPending(mixed), 0u);
    EXPECT_EQ(ListDir(content), std::vector<std::string>{"index.dat"});
    EXPECT_EQ(TimesPending(content + "\\index.dat"), 1u);
    EXPECT_EQ(TimesPending(Folder("Cache") + "\\index.dat"), 1u);
    // Files only: a folder could be a link by the next start.
    EXPECT_EQ(TimesPending(content), 0u);
    EXPECT_EQ(TimesPending(Folder("Cache")), 0u);
    EXPECT_EQ(TimesPending(Folder("Temp") + "\\held.tmp"), 0u);

    RestartWindows();
    // The emptied folder goes with the next run.
    EXPECT_EQ(ListDir(Folder("Cache")), (std::vector<std::string>{"Content.IE5", "Mixed"}));
    EXPECT_EQ(ListDir(content), std::vector<std::string>());
    EXPECT_EQ(ListDir(mixed), std::vector<std::string>{"kept.txt"});
    ::SetFileAttributesA((mixed + "\\kept.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ListDir(Folder("Temp")), std::vector<std::string>{"held.tmp"});
    EXPECT_EQ(TimesPending(content + "\\index.dat"), 0u);
}

// The name Windows gives a handle: its volume's device and the path on it
// ("\Device\HarddiskVolume1\dir" where Wine says "\??\C:\dir").
bool DeviceName(HANDLE h, std::wstring& name)
{
    std::vector<LONGLONG> buffer(65536 / sizeof(LONGLONG));
    const WCHAR* own = nullptr;
    ULONG chars = 0;
    if (CNtFiles::Get()->NameOf(h, buffer.data(), 65536, own, chars) < 0 || chars < 6)
        return false;
    const WCHAR drive[] = {own[4], L':', L'\0'};
    WCHAR device[MAX_PATH] = L"";
    if (!::QueryDosDeviceW(drive, device, MAX_PATH))
        return false;
    name = device + std::wstring(own + 6, chars - 6);
    return true;
}

TEST_F(BootDeleteTest, AHeldFileIsScheduledByWhereItReallyLiesNotByTheLetterThatLedThere)
{
    // T: is a second letter for the scratch folder, as subst gives (make-links):
    // at the next start it may name another folder, or nothing. Once with the
    // names Wine gives, once with the device names Windows gives.
    HoldOpen(Folder("Cache") + "\\index.dat");
    for (CNtFiles::NameAnswerFn names : {CNtFiles::NameAnswerFn(nullptr), DeviceName}) {
        SCOPED_TRACE(names ? "device names" : "Wine's names");
        HKEY sm = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                                  0, KEY_SET_VALUE, &sm),
                  ERROR_SUCCESS);
        ::RegDeleteValueA(sm, "PendingFileRenameOperations");
        ::RegCloseKey(sm);
        CNtFiles::AnswerNamesForTests(names);
        const std::string viaT = "T:" + Folder("Cache").substr(2);
        CBootDelete list(BootDeleteKind::MoveFileOnBoot);
        list.SetFolder(viaT);
        const CNtFiles* nt = CNtFiles::Get();
        ASSERT_NE(nt, nullptr);
        WalkOptions options = NativeWalkOptions(*nt, nullptr);
        options.context = &list;
        options.onFailure = [](void* context, LONG status, const WCHAR* path, size_t chars, HANDLE folder) {
            const Undeleted why = UndeletedForStatus(status);
            static_cast<CBootDelete*>(context)->Schedule(path, chars, folder, why == Undeleted::NotEmpty,
                                                         why);
        };
        DeleteTreeNative(*nt, viaT, "*.*", options);
        CNtFiles::AnswerNamesForTests(nullptr);
        EXPECT_EQ(ListDir(Folder("Cache")), std::vector<std::string>{"index.dat"});
        EXPECT_EQ(TimesPending(viaT + "\\index.dat"), 0u);
        EXPECT_EQ(TimesPending(Folder("Cache") + "\\index.dat"), 1u);
    }
}

TEST_F(BootDeleteTest, TheWindows95FamilyAddsShortNamesToWinInitAndKeepsOtherPrograms)
{
    const std::string content = Folder("Cache") + "\\Temporary Internet Files";
    MakeDir(content);
    HoldOpen(content + "\\index.dat");
    HoldOpen(Folder("Temp") + "\\held.tmp");
    WriteFile(Folder("Other.txt"), "another program's leftover");
    const std::string theirs = "[rename]\r\nNUL=" + ShortPath(Folder("Other.txt")) + "\r\n";
    std::ofstream(WinInitFile(), std::ios::binary) << theirs;

    auto t = CacheAndTempTable();
    t->UseWalk(DeleteWalk::Win95);
    t->Run();
    t->Run();
    EXPECT_EQ(Log(), std::string(kRunLog) + kRunLog);
    // Their line, then one line for the held file: none for its folder,
    // which the start-up step cannot remove, nor for Temp.
    EXPECT_EQ(ReadAll(WinInitFile()), theirs + "NUL=" + ShortPath(content + "\\index.dat") + "\r\n");
    EXPECT_EQ(TimesPending(content + "\\index.dat"), 0u);

    RestartWindows();
    EXPECT_FALSE(Exists(content + "\\index.dat"));
    EXPECT_FALSE(Exists(Folder("Other.txt")));
    EXPECT_TRUE(Exists(Folder("Temp") + "\\held.tmp"));
    // The next run removes the emptied folder.
    t->Run();
    EXPECT_TRUE(Emptied("Cache"));

    // An NT that reports itself as Windows 98 (a compatibility setting) keeps
    // the native walk, and with it the registry's list.
    HoldOpen(Folder("Cache") + "\\index.dat");
    SetString(HKEY_CURRENT_USER, kProbeVersionKey, "Version", "win98");
    DWORD exitCode = 1;
    HANDLE probe = StartSibling("engine_probe.exe", "run " + Folder("probe.log") + " cache", nullptr);
    ASSERT_TRUE(probe);
    ::WaitForSingleObject(probe, 30000);
    ::GetExitCodeProcess(probe, &exitCode);
    ::CloseHandle(probe);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadAll(WinInitFile()), "");
    EXPECT_EQ(TimesPending(Folder("Cache") + "\\index.dat"), 1u);
    RestartWindows();
    EXPECT_TRUE(Emptied("Cache"));
}

} // namespace
