// Folders judged by where they really lie: a drive letter or a share of this
// machine whose root lies in the system folder, a protected folder behind a
// link, every Program Files, other users' profiles and the common folders,
// and My Documents as either key names it. Each canary is handed to the
// cleaner of both walks and must stay.
#include "engine/DeleteWalk.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"
#include "tests/engine/EngineFixture.h"
#include "tests/hook/ImportPatch.h"

#include <windows.h>

namespace {

const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kMachineShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string SystemFolder()
{
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, MAX_PATH);
    return system;
}

std::string WindowsFolder()
{
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return windows;
}

// A folder holding a canary file, removed again with the test.
class Canary {
public:
    explicit Canary(std::string folder) : m_folder(std::move(folder))
    {
        // Written directly: the scratch helpers touch nothing outside S:.
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        HANDLE h = ::CreateFileA(File().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    ~Canary()
    {
        ::DeleteFileA(File().c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }
    std::string File() const { return m_folder + "\\canary.txt"; }

private:
    std::string m_folder;
};

// A value of the registry's other view (the 32-bit programs' from a 64-bit
// program, the native one from a 32-bit program), put back with the test.
class OtherViewValue {
public:
    OtherViewValue(const char* key, const char* name, const std::string& text) : m_name(name)
    {
        const REGSAM view = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &m_key,
                          nullptr);
        char old[MAX_PATH] = "";
        DWORD size = sizeof(old);
        m_had = ::RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                ERROR_SUCCESS;
        m_old = old;
        Set(text);
    }
    ~OtherViewValue()
    {
        if (m_had)
            Set(m_old);
        else
            ::RegDeleteValueA(m_key, m_name.c_str());
        ::RegCloseKey(m_key);
    }

private:
    void Set(const std::string& text)
    {
        ::RegSetValueExA(m_key, m_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
    }
    HKEY m_key = nullptr;
    std::string m_name, m_old;
    bool m_had = false;
};

// A folder on a drive or share that is offline, played by failing the
// program's opens below it with the system's error (Wine reports such a
// folder as missing).
std::string g_offline;
DWORD g_offlineError = 0;
void* g_createFile = nullptr;
void* g_findFirstFile = nullptr;

bool IsOffline(const char* path)
{
    return g_offlineError && _strnicmp(path, g_offline.c_str(), g_offline.size()) == 0;
}

HANDLE WINAPI OfflineCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (IsOffline(path)) {
        ::SetLastError(g_offlineError);
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<decltype(&::CreateFileA)>(g_createFile)(path, access, share, security,
                                                                    disposition, flags, templateFile);
}

HANDLE WINAPI OfflineFindFirstFileA(LPCSTR path, LPWIN32_FIND_DATAA found)
{
    if (IsOffline(path)) {
        ::SetLastError(g_offlineError);
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<decltype(&::FindFirstFileA)>(g_findFirstFile)(path, found);
}

// The two imports redirected while it lives.
struct OfflineOpens {
    OfflineOpens()
    {
        HMODULE self = ::GetModuleHandleA(nullptr);
        patched = PatchImport(self, "kernel32.dll", "CreateFileA",
                              reinterpret_cast<void*>(OfflineCreateFileA), &g_createFile) +
                  PatchImport(self, "kernel32.dll", "FindFirstFileA",
                              reinterpret_cast<void*>(OfflineFindFirstFileA), &g_findFirstFile);
    }
    ~OfflineOpens()
    {
        void* ours = nullptr;
        HMODULE self = ::GetModuleHandleA(nullptr);
        PatchImport(self, "kernel32.dll", "CreateFileA", g_createFile, &ours);
        PatchImport(self, "kernel32.dll", "FindFirstFileA", g_findFirstFile, &ours);
        g_offlineError = 0;
    }
    int patched;
};

// The name Windows gives a handle: where it lies on its volume. Wine names
// it by its most specific drive letter, which for what lies below the
// system's drivers folder is X: (make-links).
bool WindowsName(HANDLE h, std::wstring& name)
{
    std::vector<LONGLONG> buffer(65536 / sizeof(LONGLONG));
    const WCHAR* own = nullptr;
    ULONG chars = 0;
    if (CNtFiles::Get()->NameOf(h, buffer.data(), 65536, own, chars) < 0)
        return false;
    name.assign(own, chars);
    WCHAR system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    if (name.compare(0, 6, L"\\??\\X:") == 0)
        name = L"\\??\\" + std::wstring(system) + L"\\drivers" + name.substr(6);
    return true;
}

struct WindowsNames {
    WindowsNames() { CNtFiles::AnswerNamesForTests(WindowsName); }
    ~WindowsNames() { CNtFiles::AnswerNamesForTests(nullptr); }
};

// A volume that reports no file index for two folders of the Windows folder:
// its Temp and bs24zero, which is no trace folder.
void* g_fileInformation = nullptr;

BOOL WINAPI NoIndexFileInformation(HANDLE h, LPBY_HANDLE_FILE_INFORMATION info)
{
    if (!reinterpret_cast<decltype(&::GetFileInformationByHandle)>(g_fileInformation)(h, info))
        return FALSE;
    std::wstring name;
    WindowsName(h, name);
    for (const WCHAR* leaf : {L"\\temp", L"\\bs24zero"}) {
        const size_t n = std::wcslen(leaf);
        if (name.size() > n && _wcsicmp(name.c_str() + name.size() - n, leaf) == 0)
            info->nFileIndexHigh = info->nFileIndexLow = 0;
    }
    return TRUE;
}

class RealPlaceTest : public WalkTest {
protected:
    // Refused by its real place (handles), and its canary stays.
    void ExpectKept(const std::string& candidate, const Canary& canary)
    {
        SCOPED_TRACE(candidate);
        ASSERT_NE(::GetFileAttributesA(canary.File().c_str()), INVALID_FILE_ATTRIBUTES) << "the fixture is missing";
        std::string out;
        EXPECT_EQ(JudgeFolder(candidate, out, Identity::Handles), FolderVerdict::Protected);
        MakeTable()->DeleteTree("*.*", candidate.c_str());
        EXPECT_NE(::GetFileAttributesA(canary.File().c_str()), INVALID_FILE_ATTRIBUTES);
    }
    void ExpectEmptied(const std::string& candidate)
    {
        SCOPED_TRACE(candidate);
        MakeTable()->DeleteTree("*.*", candidate.c_str());
        EXPECT_TRUE(Exists(candidate));
        EXPECT_EQ(ListDir(candidate), std::vector<std::string>());
    }
};

TEST_P(RealPlaceTest, DriveLettersAndSharesWhoseRootLiesInTheSystemFolder)
{
    // X: is the system folder's drivers folder, \\localhost\bsprint$ its
    // spool\drivers (make-links).
    Canary etc(SystemFolder() + "\\drivers\\bs24etc");
    Canary spool(SystemFolder() + "\\spool\\drivers\\bs24");
    ExpectKept("X:\\bs24etc", etc);
    ExpectKept("\\\\localhost\\bsprint$\\bs24", spool);
    // Under another letter's root that lies nowhere protected, cleaning goes on.
    ExpectEmptied("T:\\" + root.substr(root.rfind('\\') + 1) + "\\Custom1");
    // The same the way Windows finds the folders above, from the name it gives.
    WindowsNames windowsNames;
    ExpectKept("X:\\bs24etc", etc);
    ExpectEmptied("T:\\" + root.substr(root.rfind('\\') + 1) + "\\Custom2");
}

TEST_P(RealPlaceTest, AProtectedFolderBehindALinkKeepsTheFoldersReallyAboveIt)
{
    SavedValue personal(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    SavedValue userPersonal(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    // My Documents is S:\links24\DocsLink, a link to S:\links24\Outer\Docs.
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", "S:\\links24\\DocsLink");
    DeleteValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    Canary thesis("S:\\links24\\Outer\\Docs");
    ExpectKept("S:\\links24\\Outer", thesis);
    ExpectEmptied(Folder("Custom1"));
}

TEST_P(RealPlaceTest, MyDocumentsAsEitherKeyNamesIt)
{
    SavedValue personal(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    SavedValue userPersonal(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    // Shell Folders holds a stale value; User Shell Folders the real one.
    MakeDir(Folder("Stale"));
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", Folder("Stale"));
    SetString(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal", Folder("Docs"));
    Canary docs(Folder("Docs"));
    ExpectKept(Folder("Docs"), docs);
    Canary stale(Folder("Stale"));
    ExpectKept(Folder("Stale"), stale);
}

TEST_P(RealPlaceTest, EveryProgramFilesAndAMissingOne)
{
    SavedValue x86(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir (x86)");
    SavedValue native(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramW6432Dir");
    SavedValue common(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir");
    SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir (x86)", Folder("Programs86"));
    SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramW6432Dir", Folder("Programs64"));
    SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "CommonFilesDir", Folder("Common"));
    Canary programs86(Folder("Programs86"));
    Canary programs64(Folder("Programs64"));
    Canary commonFiles(Folder("Common"));
    ExpectKept(Folder("Programs86"), programs86);
    ExpectKept(Folder("Programs64"), programs64);
    ExpectKept(Folder("Common"), commonFiles);
    // The other Program Files, named in the registry's other view.
    OtherViewValue other(kCurrentVersion, "ProgramFilesDir", Folder("OtherView"));
    Canary otherView(Folder("OtherView"));
    ExpectKept(Folder("OtherView"), otherView);
    ExpectEmptied(Folder("Custom1"));
    // Every Windows but NT 3.x has the value: missing, nothing is cleaned.
    SavedValue programs(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    std::string out;
    EXPECT_EQ(JudgeFolder(Folder("Custom2"), out, Identity::Handles), FolderVerdict::Protected);
    MakeTable()->DeleteTree("*.*", Folder("Custom2").c_str());
    EXPECT_TRUE(Untouched("Custom2"));
}

TEST_P(RealPlaceTest, OtherProfilesAndTheFoldersAllUsersShare)
{
    char profile[MAX_PATH] = "";
    ASSERT_GT(::GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
    const std::string profiles = std::string(profile).substr(0, std::string(profile).rfind('\\'));
    Canary other(profiles + "\\bs24other");
    Canary otherDocs(profiles + "\\bs24other\\Documents");
    ExpectKept(profiles + "\\bs24other", other);
    ExpectKept(profiles + "\\bs24other\\Documents", otherDocs);
    // The Windows 95 family keeps profiles below the Windows folder: no trace
    // folder of this user's.
    ::CreateDirectoryA((WindowsFolder() + "\\Profiles").c_str(), nullptr);
    Canary old(WindowsFolder() + "\\Profiles\\bs24other");
    ExpectKept(WindowsFolder() + "\\Profiles\\bs24other", old);
    SavedValue commonDesktop(HKEY_LOCAL_MACHINE, kMachineShellFolders, "Common Desktop");
    SetString(HKEY_LOCAL_MACHINE, kMachineShellFolders, "Common Desktop", Folder("Shared Desktop"));
    Canary shared(Folder("Shared Desktop"));
    ExpectKept(Folder("Shared Desktop"), shared);
    ExpectEmptied(Folder("Custom1"));
}

TEST_P(RealPlaceTest, AProtectedFolderOfflineKeepsEveryFolder)
{
    SavedValue personal(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    SavedValue userPersonal(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    g_offline = Folder("Offline");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", g_offline + "\\Docs");
    DeleteValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    OfflineOpens opens;
    ASSERT_GE(opens.patched, 2);
    for (DWORD error : {ERROR_NOT_READY, ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME}) {
        g_offlineError = error;
        MakeTable()->DeleteTree("*.*", Folder("Custom1").c_str());
        EXPECT_TRUE(Untouched("Custom1")) << "error " << error;
    }
    // Online and missing: nothing there to protect.
    g_offlineError = 0;
    ExpectEmptied(Folder("Custom1"));
}

TEST_P(RealPlaceTest, ALinkNamedLikeATraceFolderMakesNoFolderCleanable)
{
    // Recent in the Windows folder is a link to its bs24kept (make-links).
    Canary kept(WindowsFolder() + "\\bs24kept");
    ExpectKept(WindowsFolder() + "\\bs24kept", kept);
}

TEST_P(RealPlaceTest, AFileIndexOfZeroIdentifiesNoFolder)
{
    WindowsNames windowsNames;
    HMODULE self = ::GetModuleHandleA(nullptr);
    ASSERT_GE(PatchImport(self, "kernel32.dll", "GetFileInformationByHandle",
                          reinterpret_cast<void*>(NoIndexFileInformation), &g_fileInformation),
              1);
    Canary zero(WindowsFolder() + "\\bs24zero");
    ExpectKept(WindowsFolder() + "\\bs24zero", zero);
    void* ours = nullptr;
    PatchImport(self, "kernel32.dll", "GetFileInformationByHandle", g_fileInformation, &ours);
}

INSTANTIATE_TEST_SUITE_P(Walks, RealPlaceTest, ::testing::Values(DeleteWalk::Native, DeleteWalk::Win95),
                         [](const ::testing::TestParamInfo<DeleteWalk>& info) {
                             return info.param == DeleteWalk::Native ? "Native" : "Win95";
                         });

} // namespace
