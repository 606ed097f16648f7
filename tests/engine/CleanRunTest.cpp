#include "tests/engine/EngineFixture.h"

namespace {

using CleanRunTest = EngineTest;

const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

TEST_F(CleanRunTest, DefaultCategoriesRunInOrderAndEmptyTheirFolders)
{
    SetString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://example.invalid/");
    auto t = MakeTable();
    EnableDefaults(*t);
    t->Run();
    EXPECT_EQ(Log(), "Begin cleaning...\r\n"
                     "Cleaning Temp...OK\r\n"
                     "Cleaning Cache...OK\r\n"
                     "Cleaning Cookies...OK\r\n"
                     "Cleaning History...OK\r\n"
                     "Cleaning TypedURLs...OK\r\n"
                     "Cleaning Recent...OK\r\n"
                     "End cleaning...OK\r\n");
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_TRUE(Emptied(f)) << f;
    EXPECT_TRUE(Untouched("Favorites"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTypedUrls));
}

TEST_F(CleanRunTest, NoCategoryWritesOnlyTheFrameAndTouchesNothing)
{
    auto t = MakeTable();
    t->Run();
    EXPECT_EQ(Log(), "Begin cleaning...\r\nEnd cleaning...OK\r\n");
    for (const char* f : {"Temp", "Cache", "Cookies", "Favorites", "History", "Recent"})
        EXPECT_TRUE(Untouched(f)) << f;
}

TEST_F(CleanRunTest, CustomFoldersAreCleanedAndBadEntriesAreSkipped)
{
    auto t = MakeTable();
    t->SetEnabled(Category::Custom, TRUE);
    t->Run(); // an empty list
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Custom...OK\r\nEnd cleaning...OK\r\n");

    WriteFile("S:\\root-marker.txt");
    t->SetCustomFolders({Folder("Custom1"), Folder("missing"), "Error", "", "S:\\",
                         Folder("Custom1") + "\\sub\\b.txt", Folder("Custom2")});
    t->Run();
    EXPECT_TRUE(Emptied("Custom1"));
    EXPECT_TRUE(Emptied("Custom2"));
    EXPECT_TRUE(Exists("S:\\root-marker.txt"));
    EXPECT_FALSE(Exists(Folder("missing")));
    EXPECT_FALSE(Exists("Error"));
    ::DeleteFileA("S:\\root-marker.txt");
}

// Temp, a shell folder and a custom folder set to values that are no absolute
// path, on both walks: nothing around the current directory changes.
TEST_F(CleanRunTest, RelativeValuesLeaveTheCurrentDirectoryDriveAndProgramAlone)
{
    char cwd[MAX_PATH], self[MAX_PATH];
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, cwd), 3u) << "the current directory must be no drive root";
    std::string program(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    program.resize(program.rfind('\\'));
    const std::string here = cwd;
    const std::string drive = here.substr(0, 2);
    MakeDir(here + "\\keep");
    WriteFile(here + "\\keep\\k.txt");
    WriteFile(here + "\\c.txt");
    WriteFile(drive + "\\root-marker.txt");
    const std::vector<std::string> programFiles = ListDir(program), cRoot = ListDir("C:\\");
    for (DeleteWalk walk : {DeleteWalk::Native, DeleteWalk::Win95})
        for (std::string value :
             std::vector<std::string>{"C:", "C:\\", ".", "..", "keep", "C:keep", drive, drive + "keep",
                                      "\\keep", std::string("\\\\.\\") + drive + "\\keep"}) {
            ::SetEnvironmentVariableA("TEMP", value.c_str());
            ::SetEnvironmentVariableA("TMP", value.c_str());
            SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", value);
            auto t = MakeTable();
            EXPECT_FALSE(t->Has(Category::Temp) || t->Has(Category::Cache)) << value;
            t->UseWalk(walk);
            t->SetCustomFolders({value});
            EnableDefaults(*t);
            // The system's history service rewrites the shell folders.
            t->SetEnabled(Category::History, FALSE);
            t->SetEnabled(Category::Custom, TRUE);
            t->Run();
            t->CleanTemp();
            t->CleanCache();
        }
    EXPECT_TRUE(Exists(here + "\\keep\\k.txt"));
    EXPECT_TRUE(Exists(here + "\\c.txt"));
    EXPECT_TRUE(Exists(drive + "\\root-marker.txt"));
    EXPECT_EQ(ListDir(program), programFiles);
    EXPECT_EQ(ListDir("C:\\"), cRoot);
    ::DeleteFileA((drive + "\\root-marker.txt").c_str());
}

TEST_F(CleanRunTest, AnUnavailableFolderLeavesNoLineAndTheRestRuns)
{
    DeleteValue(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies");
    auto t = MakeTable();
    EnableDefaults(*t);
    t->SetEnabled(Category::TypedUrls, FALSE);
    t->SetEnabled(Category::History, FALSE);
    t->Run();
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning Temp...OK\r\nCleaning Cache...OK\r\n"
                     "Cleaning Recent...OK\r\nEnd cleaning...OK\r\n");
    EXPECT_TRUE(Untouched("Cookies"));
}

// A file another program holds and a read-only one stay in Temp: only its line
// says so; the clean folders' lines and the frame read as ever.
TEST_F(CleanRunTest, WhatStaysIsCountedOnItsCategorysLineAlone)
{
    WriteFile(Folder("Temp") + "\\held.txt");
    WriteFile(Folder("Temp") + "\\sub\\ro.txt");
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE h = ::CreateFileA((Folder("Temp") + "\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    for (DeleteWalk walk : {DeleteWalk::Native, DeleteWalk::Win95}) {
        ::SetWindowTextA(host.hEdit, "");
        WriteFile(Folder("Temp") + "\\a.txt");
        WriteFile(Folder("Recent") + "\\a.txt", "abc");
        WriteFile(Folder("Recent") + "\\b.txt");
        auto t = MakeTable();
        t->UseWalk(walk);
        t->SetEnabled(Category::Temp, TRUE);
        t->SetEnabled(Category::Recent, TRUE);
        t->Run();
        EXPECT_EQ(Log(), "Begin cleaning...\r\n"
                         "Cleaning Temp...2 left: 1 in use, 1 read-only\r\n"
                         "Cleaning Recent...OK\r\n"
                         "End cleaning...OK\r\n");
        EXPECT_EQ(ListDir(Folder("Temp")), (std::vector<std::string>{"held.txt", "sub"}));
        EXPECT_EQ(t->RunTally().files, walk == DeleteWalk::Native ? 5u : 3u); // sub\b.txt went at first
        EXPECT_EQ(t->RunTally().bytes, walk == DeleteWalk::Native ? 7u : 5u);
        EXPECT_EQ(t->RunTally().Left(), 2u);
    }
    ::CloseHandle(h);
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CategoryEndingTest, EveryReasonInItsPlace)
{
    WalkTally t;
    t.files = 3;
    EXPECT_EQ(CategoryEnding(t), "OK\r\n");
    t.inUse = 3;
    t.scheduled = 3;
    EXPECT_EQ(CategoryEnding(t), "3 left: 3 in use (deleted when Windows restarts)\r\n");
    t.scheduled = 1;
    t.denied = 2;
    t.unsafe = 1;
    EXPECT_EQ(CategoryEnding(t), "6 left: 3 in use (1 deleted when Windows restarts), 2 access denied, "
                                 "1 skipped as unsafe\r\n");
}

TEST_F(CleanRunTest, TypedUrlsWithoutItsKeyStillReportsAndChangesNothing)
{
    DeleteKeyTree(HKEY_CURRENT_USER, kTypedUrls);
    auto t = MakeTable();
    t->SetEnabled(Category::TypedUrls, TRUE);
    t->Run();
    EXPECT_EQ(Log(), "Begin cleaning...\r\nCleaning TypedURLs...OK\r\nEnd cleaning...OK\r\n");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTypedUrls));
}

TEST_F(CleanRunTest, VersionVerdicts)
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    auto verdict = [&](DWORD platform, DWORD major, DWORD minor) {
        v.dwPlatformId = platform;
        v.dwMajorVersion = major;
        v.dwMinorVersion = minor;
        return ClassifyOs(TRUE, v);
    };
    EXPECT_EQ(ClassifyOs(FALSE, v), OsVerdict::KernelError);
    EXPECT_EQ(verdict(0, 3, 10), OsVerdict::Win31);
    EXPECT_EQ(verdict(1, 4, 0), OsVerdict::Run);
    EXPECT_EQ(verdict(1, 4, 90), OsVerdict::Run);
    EXPECT_EQ(verdict(2, 3, 51), OsVerdict::Run);
    EXPECT_EQ(verdict(2, 4, 0), OsVerdict::Run);
    EXPECT_EQ(verdict(2, 5, 1), OsVerdict::Run);
    EXPECT_EQ(verdict(2, 6, 1), OsVerdict::Skip);
    EXPECT_EQ(verdict(2, 10, 0), OsVerdict::Skip);
    EXPECT_EQ(verdict(3, 5, 0), OsVerdict::Unsupported);
}

TEST_F(CleanRunTest, AnNtSixSystemRunsNothingAndSaysNothing)
{
    auto t = MakeTable();
    EnableDefaults(*t);
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    v.dwPlatformId = VER_PLATFORM_WIN32_NT;
    v.dwMajorVersion = 6;
    EXPECT_EQ(t->CheckOsAndRunFor(TRUE, v), OsVerdict::Skip);
    EXPECT_EQ(Log(), "");
    for (const char* f : {"Temp", "Cache", "Cookies", "History", "Recent"})
        EXPECT_TRUE(Untouched(f)) << f;
    // The same system family at version 5 runs.
    v.dwMajorVersion = 5;
    EXPECT_EQ(t->CheckOsAndRunFor(TRUE, v), OsVerdict::Run);
    EXPECT_TRUE(Emptied("Temp"));
}

} // namespace
