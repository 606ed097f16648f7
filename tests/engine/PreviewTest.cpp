// The preview: the run's own path on both walks, counting what the run would
// remove and removing, scheduling and writing nothing.
#include "tests/engine/EngineFixture.h"

#include <algorithm>

namespace {

const char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char kUrlHistory[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Url History";

// Every entry below folder with its size and attributes, sorted.
void Shape(const std::string& folder, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = d.cFileName;
        if (name == "." || name == "..")
            continue;
        out.push_back(folder + "\\" + name + " " + std::to_string(d.nFileSizeLow) + " " +
                      std::to_string(d.dwFileAttributes));
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Shape(folder + "\\" + name, out);
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
    std::sort(out.begin(), out.end());
}

using PreviewTest = WalkTest;

TEST_P(PreviewTest, CountsWhatTheRunRemovesAndLeavesEverythingAsItWas)
{
    // Temp: a.txt and sub\b.txt of 1 byte, 3000 and 5 bytes more, and a
    // read-only file that keeps itself and sub.
    WriteFile(Folder("Temp") + "\\big.bin", std::string(3000, 'b'));
    MakeDir(Folder("Temp") + "\\sub\\deep");
    WriteFile(Folder("Temp") + "\\sub\\deep\\c.txt", "hello");
    WriteFile(Folder("Temp") + "\\sub\\ro.txt", "read-only");
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const char* url : {"url1", "url2", "url3"})
        SetString(HKEY_CURRENT_USER, kTypedUrls, url, "http://example.invalid/");
    SetDword(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", 20);
    std::vector<std::string> before;
    Shape(root, before);

    auto t = MakeTable();
    EnableDefaults(*t);
    t->MakePreview();
    t->Run();
    EXPECT_EQ(Log(), "Begin preview...\r\n"
                     "Temp...4 files, 2.9 KB\r\n"
                     "Cache...2 files, 2 bytes\r\n"
                     "Cookies...2 files, 2 bytes\r\n"
                     "History...2 files, 2 bytes and the browser's history list\r\n"
                     "TypedURLs...3 addresses\r\n"
                     "Recent...2 files, 2 bytes\r\n"
                     "End preview...12 files, 2.9 KB in all\r\n");
    std::vector<std::string> after;
    Shape(root, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kTypedUrls, "url3"), "http://example.invalid/");
    DWORD type = 0;
    std::string days;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kUrlHistory, "DaysToKeep", &type, &days));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(days.data()), 20u);

    // The run removes exactly what the preview counted.
    auto run = MakeTable();
    EnableDefaults(*run);
    run->Run();
    EXPECT_EQ(run->RunTally().files, t->RunTally().files);
    EXPECT_EQ(run->RunTally().bytes, t->RunTally().bytes);
    EXPECT_EQ(run->RunTally().readOnly, 1u);
    EXPECT_EQ(t->RunTally().readOnly, 1u);
    ::SetFileAttributesA((Folder("Temp") + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteKeyTree(HKEY_CURRENT_USER, kUrlHistory);
}

// Links are not counted; a folder the run would refuse is named, also when
// it became protected after the folders were read.
TEST_P(PreviewTest, FoldersTheRunWouldRefuseAreSkippedAsUnsafe)
{
    const std::string links = "S:\\links";
    ASSERT_TRUE(Exists(links + "\\cleaned\\deep")) << "run through ctest: the link fixture is missing";
    WriteFile(links + "\\cleaned\\plain.txt");
    WriteFile(links + "\\cleaned\\deep\\plain2.txt");
    std::vector<std::string> before;
    Shape(links, before);
    auto t = MakeTable();
    t->SetEnabled(Category::Temp, TRUE);
    t->SetEnabled(Category::Custom, TRUE);
    t->MakePreview();
    SavedValue desktop(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", Folder("Temp"));
    t->SetCustomFolders({links + "\\cleaned", "S:\\"});
    t->Run();
    t->SetCustomFolders({links + "\\toplink"});
    t->Run();
    EXPECT_EQ(Log(), "Begin preview...\r\nTemp...skipped as unsafe\r\n"
                     "Custom...2 files, 2 bytes; 1 folder skipped as unsafe\r\n"
                     "End preview...2 files, 2 bytes in all\r\n"
                     "Begin preview...\r\nTemp...skipped as unsafe\r\nCustom...skipped as unsafe\r\n"
                     "End preview...0 files, 0 bytes in all\r\n");
    std::vector<std::string> after;
    Shape(links, after);
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Walks, PreviewTest, ::testing::Values(DeleteWalk::Native, DeleteWalk::Win95),
                         [](const ::testing::TestParamInfo<DeleteWalk>& info) {
                             return info.param == DeleteWalk::Native ? "Native" : "Win95";
                         });

} // namespace
