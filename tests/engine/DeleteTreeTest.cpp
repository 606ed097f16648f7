// Emptying folders: what DeleteTree removes, what it leaves, and that it never
// follows a link out of the folder being cleaned.
#include "engine/FolderTable.h"
#include "engine/WineLinks.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string CurrentDirectory()
{
    char dir[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}

bool IsWine()
{
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

// Wine cannot create symbolic links itself (its CreateSymbolicLink does
// nothing), so the host's ln makes one, started through Wine's \\?\unix\ path
// prefix. target is a Unix path relative to the link's folder. Waits until
// the link resolves.
bool MakeHostSymlink(const std::string& target, const std::string& link)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    WCHAR wide[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH))
        return false;
    char* unixLink = unixName(wide);
    if (!unixLink)
        return false;
    std::string command = "/bin/ln -sfn \"" + target + "\" \"" + unixLink + "\"";
    ::HeapFree(::GetProcessHeap(), 0, unixLink);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA("\\\\?\\unix\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return false;
    // Wine hands back no process that can be waited for: watch for the link.
    for (int i = 0; i < 250; ++i) {
        if (::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        ::Sleep(20);
    }
    return false;
}

class DeleteTreeTest : public ::testing::Test {
protected:
    CFolderTable m_table;
};

TEST_F(DeleteTreeTest, EmptiesNestedFoldersAndKeepsTheFolderAndCurrentDirectory)
{
    std::string root = FreshScratch("deltree_nested");
    std::string dir = root + "\\clean me";
    MakeDir(dir);
    WriteFile(dir + "\\top.txt");
    WriteFile(dir + "\\no extension");
    WriteFile(dir + "\\.dotted");
    MakeDir(dir + "\\a");
    MakeDir(dir + "\\a\\b b");
    MakeDir(dir + "\\a\\b b\\c");
    MakeDir(dir + "\\empty");
    WriteFile(dir + "\\a\\one.dat", std::string(70000, 'z'));
    WriteFile(dir + "\\a\\b b\\two.htm");
    WriteFile(dir + "\\a\\b b\\c\\three");
    WriteFile(dir + "\\hidden.txt");
    ::SetFileAttributesA((dir + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFile(root + "\\beside.txt");

    ::SetCurrentDirectoryA(root.c_str());
    std::string before = CurrentDirectory();
    EXPECT_TRUE(m_table.DeleteTree("*.*", dir.c_str()));

    EXPECT_TRUE(Exists(dir));
    EXPECT_EQ(ListDir(dir), std::vector<std::string>());
    EXPECT_TRUE(Exists(root + "\\beside.txt"));
    EXPECT_EQ(CurrentDirectory(), before);
    ::SetCurrentDirectoryA("S:\\");

    // An empty folder stays as it is.
    EXPECT_TRUE(m_table.DeleteTree("*.*", dir.c_str()));
    EXPECT_TRUE(Exists(dir));
}

TEST_F(DeleteTreeTest, ReadOnlyAndOpenFilesStayWithEveryFolderAboveThem)
{
    std::string dir = FreshScratch("deltree_readonly");
    MakeDir(dir + "\\A");
    MakeDir(dir + "\\A\\B");
    MakeDir(dir + "\\C");
    MakeDir(dir + "\\D");
    WriteFile(dir + "\\A\\B\\locked.txt");
    WriteFile(dir + "\\A\\B\\free.txt");
    WriteFile(dir + "\\A\\loose.txt");
    WriteFile(dir + "\\C\\other.txt");
    WriteFile(dir + "\\D\\in use.txt");
    WriteFile(dir + "\\top.txt");
    ASSERT_TRUE(::SetFileAttributesA((dir + "\\A\\B\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    // Held open by someone who shares no deletion.
    HANDLE inUse = ::CreateFileA((dir + "\\D\\in use.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

    m_table.DeleteTree("*.*", dir.c_str());
    ::CloseHandle(inUse);

    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(ListDir(dir + "\\A"), std::vector<std::string>{"B"});
    EXPECT_EQ(ListDir(dir + "\\A\\B"), std::vector<std::string>{"locked.txt"});
    EXPECT_EQ(ListDir(dir + "\\D"), std::vector<std::string>{"in use.txt"});
    ::SetFileAttributesA((dir + "\\A\\B\\locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DeleteTreeTest, PatternLimitsTheTopLevelOnly)
{
    std::string dir = FreshScratch("deltree_pattern");
    WriteFile(dir + "\\a.tmp");
    WriteFile(dir + "\\b.txt");
    MakeDir(dir + "\\keep");
    WriteFile(dir + "\\keep\\c.tmp");
    MakeDir(dir + "\\x.tmp");
    WriteFile(dir + "\\x.tmp\\d.txt");

    m_table.DeleteTree("*.tmp", dir.c_str());

    // Below a matching folder every name goes.
    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"b.txt", "keep"}));
    EXPECT_EQ(ListDir(dir + "\\keep"), std::vector<std::string>{"c.tmp"});
}

TEST_F(DeleteTreeTest, StopRequestLeavesTheRestInPlace)
{
    std::string dir = FreshScratch("deltree_stop");
    MakeDir(dir + "\\sub");
    WriteFile(dir + "\\sub\\a.txt");
    WriteFile(dir + "\\b.txt");
    m_table.RequestStop();
    m_table.DeleteTree("*.*", dir.c_str());
    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"b.txt", "sub"}));
    EXPECT_EQ(ListDir(dir + "\\sub"), std::vector<std::string>{"a.txt"});
}

TEST_F(DeleteTreeTest, MissingFolderAndFileGivenAsFolderAreLeftAlone)
{
    std::string dir = FreshScratch("deltree_missing");
    WriteFile(dir + "\\file.txt");
    std::string before = CurrentDirectory();
    EXPECT_TRUE(m_table.DeleteTree("*.*", (dir + "\\nothing here").c_str()));
    EXPECT_TRUE(m_table.DeleteTree("*.*", (dir + "\\file.txt").c_str()));
    EXPECT_TRUE(Exists(dir + "\\file.txt"));
    EXPECT_EQ(CurrentDirectory(), before);
}

// Under Wine a link to a file looks like a plain file and deleting it by name
// deletes its target; a link to a folder would be emptied if entered.
TEST_F(DeleteTreeTest, LinksInsideTheFolderAreNotFollowed)
{
    if (!IsWine())
        GTEST_SKIP() << "links are made with the host's ln under Wine";
    std::string root = FreshScratch("deltree_links");
    std::string outside = root + "\\outside";
    std::string dir = root + "\\clean";
    MakeDir(outside);
    MakeDir(outside + "\\folder");
    WriteFile(outside + "\\target.txt", "keep");
    WriteFile(outside + "\\folder\\inner.txt", "keep");
    WriteFile(outside + "\\deep target.txt", "keep");
    MakeDir(dir);
    MakeDir(dir + "\\sub");
    WriteFile(dir + "\\plain.txt");
    WriteFile(dir + "\\sub\\plain2.txt");
    ASSERT_TRUE(MakeHostSymlink("../outside/target.txt", dir + "\\file link.txt"));
    ASSERT_TRUE(MakeHostSymlink("../../outside/deep target.txt", dir + "\\sub\\deep link"));
    ASSERT_TRUE(MakeHostSymlink("../outside/folder", dir + "\\folder link"));
    ASSERT_TRUE(MakeHostSymlink("../../outside", dir + "\\sub\\up link"));

    m_table.DeleteTree("*.*", dir.c_str());

    // Every target is untouched...
    EXPECT_TRUE(Exists(outside + "\\target.txt"));
    EXPECT_TRUE(Exists(outside + "\\deep target.txt"));
    EXPECT_TRUE(Exists(outside + "\\folder\\inner.txt"));
    EXPECT_EQ(ListDir(outside), (std::vector<std::string>{"deep target.txt", "folder", "target.txt"}));
    // ...the links stay where they are, and everything else is gone.
    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"file link.txt", "folder link", "sub"}));
    EXPECT_EQ(ListDir(dir + "\\sub"), (std::vector<std::string>{"deep link", "up link"}));
}

bool IsChild(const std::wstring& name, const std::wstring& parent, const std::wstring& leaf)
{
    return IsNameOfChild(name.c_str(), static_cast<ULONG>(name.size()), parent.c_str(),
                         static_cast<ULONG>(parent.size()), leaf.c_str(), static_cast<ULONG>(leaf.size()));
}

TEST(IsNameOfChildTest, MatchesOnlyTheEntryItself)
{
    EXPECT_TRUE(IsChild(L"\\??\\S:\\a\\b.txt", L"\\??\\S:\\a", L"b.txt"));
    // A link's target: another folder, another name, a name that merely
    // starts alike, a sibling that differs in letter case only.
    EXPECT_FALSE(IsChild(L"\\??\\S:\\other\\b.txt", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\a\\target.txt", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\a\\b.txt.bak", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\ab.txt", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\a\\sub\\b.txt", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\a\\B.TXT", L"\\??\\S:\\a", L"b.txt"));
    EXPECT_FALSE(IsChild(L"\\??\\S:\\a\\", L"\\??\\S:\\a", L""));
}

} // namespace
