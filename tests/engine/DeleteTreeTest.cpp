#include "tests/engine/EngineFixture.h"

#include <windows.h>

namespace {

class DeleteTreeTest : public EngineTest {
protected:
    std::string CurrentDir() const
    {
        char dir[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, dir);
        return dir;
    }
};

TEST_F(DeleteTreeTest, EmptiesNestedFoldersAndKeepsTheFolderAndTheCurrentDirectory)
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
    EXPECT_TRUE(table->DeleteTree("*.*", f.c_str()));
    EXPECT_TRUE(Exists(f));
    EXPECT_EQ(ListDir(f), std::vector<std::string>());
    EXPECT_EQ(CurrentDir(), before);

    // An empty folder stays as it is.
    EXPECT_TRUE(table->DeleteTree("*.*", f.c_str()));
    EXPECT_TRUE(Exists(f));
}

TEST_F(DeleteTreeTest, AReadOnlyFileKeepsItselfAndEveryFolderAboveIt)
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

TEST_F(DeleteTreeTest, AFileHeldOpenStaysWithItsFolders)
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
TEST_F(DeleteTreeTest, LinksInsideTheFolderNeverLeadOutside)
{
    const std::string base = "S:\\links";
    ASSERT_TRUE(Exists(base + "\\cleaned\\plain.txt")) << "run through ctest: the link fixture is missing";
    ASSERT_TRUE(Exists(base + "\\cleaned\\dirlink\\keep.txt")) << "the folder link does not resolve";
    ASSERT_TRUE(Exists(base + "\\cleaned\\filelink")) << "the file link does not resolve";

    MakeTable()->DeleteTree("*.*", (base + "\\cleaned").c_str());

    EXPECT_TRUE(Exists(base + "\\outside\\keep.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\sub\\keep2.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\target.txt"));
    EXPECT_TRUE(Exists(base + "\\outside\\emptydir"));
    EXPECT_FALSE(Exists(base + "\\cleaned\\plain.txt"));
    EXPECT_FALSE(Exists(base + "\\cleaned\\deep\\plain2.txt"));
}

TEST_F(DeleteTreeTest, NamesTooLongForAPathAreSkippedAndEverythingElseGoes)
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
    EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ListDir(f), std::vector<std::string>{std::string(200, 'a')});
    EXPECT_EQ(CurrentDir(), before);
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(dir.c_str());
}

TEST_F(DeleteTreeTest, ProtectedFoldersAreNeverEmptied)
{
    // The scratch drive's root is a drive root: a file there must survive.
    WriteFile("S:\\root-marker.txt");
    auto table = MakeTable();
    table->DeleteTree("*.*", "S:\\");
    table->DeleteTree("*.*", "S:");
    table->DeleteTree("*.*", "S:\\links\\..");
    EXPECT_TRUE(Exists("S:\\root-marker.txt"));
    ::DeleteFileA("S:\\root-marker.txt");
}

TEST_F(DeleteTreeTest, AStopRequestEndsTheDeletionAtTheNextEntry)
{
    std::string f = FreshScratch("stop");
    for (int i = 0; i < 20; ++i)
        WriteFile(f + "\\f" + std::to_string(i));
    auto table = MakeTable();
    table->RequestStop();
    table->DeleteTree("*.*", f.c_str());
    EXPECT_EQ(ListDir(f).size(), 20u);
}

} // namespace
