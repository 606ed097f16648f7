#include "engine/DeleteWalk.h"
#include "engine/NtFiles.h"
#include "tests/engine/EngineFixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

// Every case on both walks: the one this system takes and the other.
class DeleteTreeTest : public WalkTest {
protected:
    std::string CurrentDir() const
    {
        char dir[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, dir);
        return dir;
    }
    bool Native() const { return GetParam() == DeleteWalk::Native; }
};

TEST_P(DeleteTreeTest, EmptiesNestedFoldersAndKeepsTheFolderAndTheCurrentDirectory)
{
    std::string f = FreshScratch("tree");
    for (int i = 0; i < 5; ++i) {
        std::string d = f + "\\d" + std::to_string(i);
        MakeDir(d);
        MakeDir(d + "\\x");
        MakeDir(d + "\\x\\y");
        MakeDir(d + "\\empty");
        for (int j = 0; j < 4; ++j) {
            WriteFile(d + "\\f" + std::to_string(j) + ".dat");
            WriteFile(d + "\\x\\y\\g" + std::to_string(j));
        }
    }
    WriteFile(f + "\\hidden.txt");
    ::SetFileAttributesA((f + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFile(f + "\\system.txt");
    ::SetFileAttributesA((f + "\\system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    WriteFile(f + "\\no extension");

    std::string before = CurrentDir();
    auto table = MakeTable();
    table->DeleteTree("*.*", f.c_str());
    EXPECT_TRUE(Exists(f));
    EXPECT_EQ(ListDir(f), std::vector<std::string>());
    EXPECT_EQ(CurrentDir(), before);

    // An empty folder stays as it is.
    table->DeleteTree("*.*", f.c_str());
    EXPECT_TRUE(Exists(f));
}

TEST_P(DeleteTreeTest, AReadOnlyFileKeepsItselfAndEveryFolderAboveIt)
{
    std::string f = FreshScratch("readonly");
    MakeDir(f + "\\A");
    MakeDir(f + "\\A\\B");
    WriteFile(f + "\\A\\B\\locked.txt");
    ::SetFileAttributesA((f + "\\A\\B\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(f + "\\A\\B\\other.txt");
    WriteFile(f + "\\A\\sibling.txt");
    MakeDir(f + "\\C");
    WriteFile(f + "\\C\\c.txt");
    WriteFile(f + "\\top.txt");

    MakeTable()->DeleteTree("*.*", f.c_str());
    EXPECT_EQ(ListDir(f), std::vector<std::string>{"A"});
    EXPECT_EQ(ListDir(f + "\\A"), std::vector<std::string>{"B"});
    EXPECT_EQ(ListDir(f + "\\A\\B"), std::vector<std::string>{"locked.txt"});
    ::SetFileAttributesA((f + "\\A\\B\\locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_P(DeleteTreeTest, AFileHeldOpenStaysWithItsFolders)
{
    std::string f = FreshScratch("held");
    MakeDir(f + "\\A");
    WriteFile(f + "\\A\\open.txt");
    WriteFile(f + "\\loose.txt");
    HANDLE h = ::CreateFileA((f + "\\A\\open.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    MakeTable()->DeleteTree("*.*", f.c_str());
    ::CloseHandle(h);
    EXPECT_EQ(ListDir(f), std::vector<std::string>{"A"});
    EXPECT_TRUE(Exists(f + "\\A\\open.txt"));
}

// The links are made on the host before this program runs (see CMakeLists):
// S:\links\outside holds files; S:\links\cleaned holds a plain file, a link to
// the outside folder, a link to an outside file, and a deeper link.
TEST_P(DeleteTreeTest, LinksInsideTheFolderNeverLeadOutside)
{
    if (!CNtFiles::Get())
        GTEST_SKIP() << "the Windows 95 family has no links";
    const std::string base = "S:\\links";
    // Windows removes a link as itself (both walks); Wine names a link's
    // handle by its target and cannot remove it alone, and lists a link like
    // its target, so there the links stay.
    const bool removed = !CNtFiles::Get()->UnderWine();
    // The plain files again, for each walk (a program can make those).
    ASSERT_TRUE(Exists(base + "\\cleaned\\deep")) << "run through ctest: the link fixture is missing";
    WriteFile(base + "\\cleaned\\plain.txt");
    WriteFile(base + "\\cleaned\\deep\\plain2.txt");
    ASSERT_TRUE(Exists(base + "\\cleaned\\dirlink\\keep.txt")) << "the folder link does not resolve";
    ASSERT_TRUE(Exists(base + "\\cleaned\\filelink")) << "the file link does not resolve";

    MakeTable()->DeleteTree("*.*", (base + "\\cleaned").c_str());

    EXPECT_TRUE(Exists(base + "\\outside\\keep.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\sub\\keep2.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\target.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\emptydir"));
    EXPECT_FALSE(Exists(base + "\\cleaned\\plain.txt"));
    EXPECT_FALSE(Exists(base + "\\cleaned\\deep\\plain2.txt"));
    for (const char* name : {"dirlink", "filelink", "deep\\sublink", "deep\\emptylink"})
        EXPECT_EQ(Exists(base + "\\cleaned\\" + name), !removed) << name;
}

// The native walk has no MAX_PATH limit; the Windows 95 walk skips what would
// not fit and deletes the rest.
TEST_P(DeleteTreeTest, NamesTooLongForAPathGoOnlyWithTheNativeWalk)
{
    std::string f = FreshScratch("long");
    // S:\long\<200 a's>\<80 b's> is longer than MAX_PATH allows.
    std::wstring dir = L"\\\\?\\S:\\long\\" + std::wstring(200, L'a');
    std::wstring file = dir + L"\\" + std::wstring(80, L'b');
    ASSERT_TRUE(::CreateDirectoryW(dir.c_str(), nullptr));
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::CloseHandle(h);
    WriteFile(f + "\\short.txt");
    MakeDir(f + "\\sub");
    WriteFile(f + "\\sub\\s.txt");

    std::string before = CurrentDir();
    MakeTable()->DeleteTree("*.*", f.c_str());
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES, !Native());
    EXPECT_EQ(ListDir(f), Native() ? std::vector<std::string>() : std::vector<std::string>{std::string(200, 'a')});
    EXPECT_EQ(CurrentDir(), before);
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(dir.c_str());
}


TEST_P(DeleteTreeTest, AStopRequestEndsTheDeletionAtTheNextEntry)
{
    std::string f = FreshScratch("stop");
    for (int i = 0; i < 20; ++i)
        WriteFile(f + "\\f" + std::to_string(i));
    auto table = MakeTable();
    const LONG stop = 1;
    table->SetStopFlag(&stop);
    table->DeleteTree("*.*", f.c_str());
    EXPECT_EQ(ListDir(f).size(), 20u);
}

// A tree as deep as the system lets this test make it.
TEST_P(DeleteTreeTest, ADeepTreeIsEmptiedEntirely)
{
    std::string f = FreshScratch("deep");
    std::wstring path = L"\\\\?\\S:\\deep";
    // Wine lets this test make about 2,000 levels (its host's path limit),
    // which take minutes; 300 are plenty. The Windows 95 walk reaches as deep
    // as MAX_PATH allows.
    const size_t limit = Native() ? 12 + 2 * 300 : MAX_PATH - 8;
    int levels = 0;
    // A file on every level; the last level that takes none stays empty.
    while (path.size() + 2 < limit &&
           (::CreateDirectoryW((path + L"\\d").c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)) {
        path += L"\\d";
        HANDLE h = ::CreateFileW((path + L"\\f").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            break;
        ::CloseHandle(h);
        ++levels;
    }
    std::printf("a tree of %d levels\n", levels);
    ASSERT_GE(levels, Native() ? 300 : 120);
    MakeTable()->DeleteTree("*.*", f.c_str());
    EXPECT_EQ(ListDir(f), std::vector<std::string>());
}

// Names that a path would read as another entry: a trailing dot or space, and
// characters that the ANSI conversion makes into "." and "\".
TEST_P(DeleteTreeTest, NamesAPathWouldMisreadNeverReachOutside)
{
    std::string f = FreshScratch("names");
    MakeDir(f + "\\clean");
    MakeDir(f + "\\keep");
    WriteFile(f + "\\keep\\k.txt");
    WriteFile(f + "\\clean\\plain.txt");
    const std::wstring clean = L"\\\\?\\S:\\" + std::wstring(f.begin() + 3, f.end()) + L"\\clean\\";
    const wchar_t* odd[] = {L"dot.", L"space ", L"\xFF0E\xFF0E\xFF3Ckeep"};
    for (const wchar_t* name : odd) {
        ASSERT_TRUE(::CreateDirectoryW((clean + name).c_str(), nullptr));
        HANDLE h = ::CreateFileW((clean + name + L"\\x.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                 nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ::CloseHandle(h);
    }
    MakeTable()->DeleteTree("*.*", (f + "\\clean").c_str());
    EXPECT_TRUE(Exists(f + "\\keep\\k.txt"));
    EXPECT_FALSE(Exists(f + "\\clean\\plain.txt"));
    // The native walk deletes each by its own name (Wine cannot open a name
    // with a trailing dot or space); the Windows 95 walk skips them, except
    // the full-width name where the ANSI code page holds its characters
    // (code page 932 does: there it is a name like any other).
    const bool wine = CNtFiles::Get()->UnderWine();
    char ansi[32];
    WCHAR back[32];
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, odd[2], -1, ansi, sizeof(ansi), nullptr, nullptr);
    const bool exact = bytes > 0 && ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, 32) > 0 &&
                       std::wstring(back) == odd[2];
    for (const wchar_t* name : odd) {
        if (!(Native() && wine && name != odd[2])) {
            const bool stays = !Native() && !(name == odd[2] && exact);
            EXPECT_EQ(::GetFileAttributesW((clean + name + L"\\x.txt").c_str()) != INVALID_FILE_ATTRIBUTES, stays)
                << ::testing::PrintToString(std::wstring(name));
        }
    }
    for (const wchar_t* name : odd)
        ::DeleteFileW((clean + name + L"\\x.txt").c_str()), ::RemoveDirectoryW((clean + name).c_str());
}

// Sizes come from the listing; what stays is not counted as removed.
TEST_P(DeleteTreeTest, CountsWhatItRemovesOfAKnownTree)
{
    std::string f = FreshScratch("counted");
    MakeDir(f + "\\A");
    MakeDir(f + "\\A\\B");
    MakeDir(f + "\\A\\empty");
    WriteFile(f + "\\one.txt", std::string(1000, 'a'));
    WriteFile(f + "\\A\\two.txt", std::string(70000, 'b'));
    WriteFile(f + "\\A\\B\\three.txt", "");
    MakeDir(f + "\\K");
    WriteFile(f + "\\K\\ro.txt", "12345");
    ::SetFileAttributesA((f + "\\K\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WalkTally tally;
    if (Native()) {
        WalkOptions options = NativeWalkOptions(*CNtFiles::Get(), nullptr);
        options.tally = &tally;
        DeleteTreeNative(*CNtFiles::Get(), f, "*.*", options);
    } else {
        DeleteTreeWin95(f, "*.*", nullptr, nullptr, nullptr, &tally);
    }
    ::SetFileAttributesA((f + "\\K\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ListDir(f), std::vector<std::string>{"K"});
    EXPECT_EQ(tally.files, 3u);
    EXPECT_EQ(tally.folders, 3u);
    EXPECT_EQ(tally.bytes, 71000u);
    EXPECT_EQ(tally.readOnly, 1u);
    EXPECT_EQ(tally.Left(), 1u); // K stays for ro.txt alone
}

INSTANTIATE_TEST_SUITE_P(Walks, DeleteTreeTest, ::testing::Values(DeleteWalk::Native, DeleteWalk::Win95),
                         [](const ::testing::TestParamInfo<DeleteWalk>& info) {
                             return info.param == DeleteWalk::Native ? "Native" : "Win95";
                         });

// Each entry that stays is reported once, with the reason and its full name.
TEST_F(EngineTest, TheNativeWalkReportsEveryEntryThatStays)
{
    std::string f = FreshScratch("reported");
    MakeDir(f + "\\A");
    WriteFile(f + "\\A\\open.txt");
    WriteFile(f + "\\ro.txt");
    WriteFile(f + "\\loose.txt");
    ::SetFileAttributesA((f + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE h = ::CreateFileA((f + "\\A\\open.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const CNtFiles* nt = CNtFiles::Get();
    ASSERT_NE(nt, nullptr);
    std::vector<std::pair<LONG, std::wstring>> failures;
    WalkOptions options = NativeWalkOptions(*nt, nullptr);
    options.context = &failures;
    options.onFailure = [](void* context, LONG status, const WCHAR* path, size_t chars, HANDLE) {
        static_cast<std::vector<std::pair<LONG, std::wstring>>*>(context)->emplace_back(status,
                                                                                         std::wstring(path, chars));
    };
    DeleteTreeNative(*nt, f, "*.*", options);
    ::CloseHandle(h);
    ::SetFileAttributesA((f + "\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::sort(failures.begin(), failures.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const std::vector<std::pair<LONG, std::wstring>> expected = {
        {static_cast<LONG>(0xC0000101), L"\\DosDevices\\S:\\reported\\A"},          // not empty
        {static_cast<LONG>(0xC0000043), L"\\DosDevices\\S:\\reported\\A\\open.txt"}, // sharing violation
        {static_cast<LONG>(0xC0000121), L"\\DosDevices\\S:\\reported\\ro.txt"},     // cannot delete
    };
    EXPECT_EQ(failures, expected);
    EXPECT_EQ(ListDir(f), (std::vector<std::string>{"A", "ro.txt"}));
}

} // namespace
