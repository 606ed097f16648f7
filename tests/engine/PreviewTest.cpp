// The preview on both walks: the run's counts, and nothing removed or written.
#include "engine/NtFiles.h"
#include "tests/engine/EngineFixture.h"

namespace {

const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char kUrlHistory[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";

// Every entry below folder with its size and attributes, in listing order.
std::string Shape(const std::string& folder)
{
    std::string shape;
    for (const std::string& name : ListDir(folder)) {
        WIN32_FILE_ATTRIBUTE_DATA d = {};
        ::GetFileAttributesExA((folder + "\\" + name).c_str(), GetFileExInfoStandard, &d);
        shape += name + " " + std::to_string(d.nFileSizeLow) + " " + std::to_string(d.dwFileAttributes) + "\n";
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            shape += Shape(folder + "\\" + name);
    }
    return shape;
}

using PreviewTest = WalkTest;

TEST_P(PreviewTest, CountsWhatTheRunRemovesAndLeavesEverythingAsItWas)
{
    // Temp: 1 + 1 + 3000 + 5 bytes to go, and a read-only file that stays.
    WriteFile(Folder("Temp") + "\\big.bin", std::string(3000, 'b'));
    MakeDir(Folder("Temp") + "\\sub\\deep");
    WriteFile(Folder("Temp") + "\\sub\\deep\\c.txt", "hello");
    WriteFile(Folder("Temp") + "\\sub\\ro.txt", "read-only");
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const char* url : {"url1", "url2", "url3"})
        SetString(HKEY_CURRENT_USER, kTypedUrls, url, "http://example.invalid/");
    SetDword(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", 20);
    const std::string before = Shape(root);
    auto t = MakeTable();
    EnableDefaults(*t);
    t->MakePreview();
    t->Run();
    EXPECT_EQ(Log(), "Begin preview...\r\nTemp...4 files, 2.9 KB\r\nCache...2 files, 2 bytes\r\n"
                     "Cookies...2 files, 2 bytes\r\nHistory...2 files, 2 bytes and the browser's history list\r\n"
                     "TypedURLs...3 addresses\r\nRecent...2 files, 2 bytes\r\nEnd preview...12 files, 2.9 KB in all\r\n");
    EXPECT_EQ(Shape(root), before);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kTypedUrls, "url3"), "http://example.invalid/");
    DWORD type = 0;
    std::string days;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", &type, &days));
    EXPECT_EQ(days, std::string("\x14\0\0\0", 4));

    auto run = MakeTable(); // removes exactly what was counted
    EnableDefaults(*run);
    run->Run();
    EXPECT_EQ(run->RunTally().files, t->RunTally().files);
    EXPECT_EQ(run->RunTally().bytes, t->RunTally().bytes);
    EXPECT_EQ(run->RunTally().readOnly, 1u);
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteKeyTree(HKEY_CURRENT_USER, kUrlHistory);
}

// Links are not counted; folders the run would refuse are named, Temp too
// when it became protected after the folders were read.
TEST_P(PreviewTest, FoldersTheRunWouldRefuseAreSkippedAsUnsafe)
{
    ASSERT_TRUE(Exists("S:\\links\\cleaned\\deep")) << "run through ctest: the link fixture is missing";
    WriteFile("S:\\links\\cleaned\\plain.txt");
    WriteFile("S:\\links\\cleaned\\deep\\plain2.txt");
    const std::string before = Shape("S:\\links\\cleaned") + Shape("S:\\links\\outside");
    auto t = MakeTable();
    t->SetEnabled(Category::Temp, TRUE);
    t->SetEnabled(Category::Custom, TRUE);
    t->MakePreview();
    SavedValue desktop(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", Folder("Temp"));
    t->SetCustomFolders({"S:\\links\\cleaned", "S:\\"});
    t->Run();
    EXPECT_EQ(Log(), "Begin preview...\r\nTemp...skipped as unsafe\r\n"
                     "Custom...2 files, 2 bytes; 1 folder skipped as unsafe\r\nEnd preview...2 files, 2 bytes in all\r\n");
    EXPECT_EQ(Shape("S:\\links\\cleaned") + Shape("S:\\links\\outside"), before);
}

// Counted by the listing alone, as on Windows where no name check is needed:
// what the deletion that follows removes and leaves, and nothing gone before.
using ListingCountTest = EngineTest;

TEST_F(ListingCountTest, FilesCountedWithoutOpeningThemMatchTheDeletion)
{
    const std::string temp = Folder("Temp");
    WriteFile(temp + "\\a.bin", std::string(700, 'a'));
    MakeDir(temp + "\\sub\\deep");
    WriteFile(temp + "\\sub\\deep\\b.txt", "hello");
    WriteFile(temp + "\\sub\\ro.txt", "read-only");
    ::SetFileAttributesA((temp + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    const CNtFiles* nt = CNtFiles::Get();
    ASSERT_NE(nt, nullptr);
    const std::string before = Shape(temp);
    WalkTally counted, removed;
    WalkOptions options = NativeWalkOptions(*nt, nullptr);
    options.checkNames = false;
    options.mode = WalkMode::Count;
    options.tally = &counted;
    DeleteTreeNative(*nt, temp, "*.*", options);
    EXPECT_EQ(Shape(temp), before);
    options = NativeWalkOptions(*nt, nullptr);
    options.tally = &removed;
    DeleteTreeNative(*nt, temp, "*.*", options);
    EXPECT_EQ(ListDir(temp), std::vector<std::string>{"sub"});
    EXPECT_EQ(counted.files, removed.files);
    EXPECT_EQ(counted.bytes, removed.bytes);
    EXPECT_EQ(counted.folders, removed.folders);
    EXPECT_EQ(counted.readOnly, 1u);
    EXPECT_EQ(counted.Left(), removed.Left());
    ::SetFileAttributesA((temp + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Walks, PreviewTest, ::testing::Values(DeleteWalk::Native, DeleteWalk::Win95),
                         [](const ::testing::TestParamInfo<DeleteWalk>& info) {
                             return info.param == DeleteWalk::Native ? "Native" : "Win95";
                         });

} // namespace
