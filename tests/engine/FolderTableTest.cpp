#include "engine/SafePath.h"
#include "tests/engine/EngineFixture.h"

#include <fstream>
#include <sstream>

namespace {

using FolderTableTest = EngineTest;

TEST_F(FolderTableTest, ResolvesEveryFolderThatIsNamedAndUsable)
{
    auto t = MakeTable();
    EXPECT_EQ(t->Folder(Category::Cache), Folder("Cache"));
    EXPECT_EQ(t->Folder(Category::History), Folder("History"));
    EXPECT_EQ(t->Folder(Category::Temp), Folder("Temp")); // without the trailing backslash
    for (BOOL has : {t->Has(Category::Cache), t->Has(Category::Cookies), t->Has(Category::Favorites),
                     t->Has(Category::History), t->Has(Category::Recent), t->Has(Category::Temp)})
        EXPECT_EQ(has, TRUE);
    // Enabled flags wait for the settings.
    for (BOOL on : {t->Enabled(Category::Cache), t->Enabled(Category::Temp), t->Enabled(Category::TypedUrls),
                    t->Enabled(Category::Custom)})
        EXPECT_EQ(on, FALSE);
}

TEST_F(FolderTableTest, MissingEmptyErrorAndProtectedValuesMakeTheirCategoryUnavailable)
{
    DeleteValue(HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Recent", "");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", "Error");
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string lower = windows;
    for (char& c : lower)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", lower + "\\");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "History", "C:\\");

    auto t = MakeTable();
    EXPECT_EQ(t->Folder(Category::Favorites), "Error");
    EXPECT_EQ(t->Has(Category::Favorites), FALSE);
    EXPECT_EQ(t->Has(Category::Recent), FALSE);
    EXPECT_EQ(t->Has(Category::Cookies), FALSE);
    EXPECT_EQ(t->Has(Category::Cache), FALSE);
    EXPECT_EQ(t->Has(Category::History), FALSE);
    EXPECT_EQ(t->Has(Category::Temp), TRUE); // the others are unaffected
}

TEST_F(FolderTableTest, TempIsUnavailableWhenItIsTheWindowsFolderInAnyFormOrDoesNotFit)
{
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string upper = windows;
    for (char& c : upper)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    for (std::string temp : {std::string(windows) + "\\", upper + "\\", upper + "\\system32\\..\\",
                             std::string("C:\\"), "S:\\" + std::string(300, 'x') + "\\"}) {
        ::SetEnvironmentVariableA("TEMP", temp.c_str());
        ::SetEnvironmentVariableA("TMP", temp.c_str());
        auto t = MakeTable();
        EXPECT_EQ(t->Has(Category::Temp), FALSE) << temp;
        EXPECT_EQ(t->Folder(Category::Temp), "") << temp;
    }
}

TEST_F(FolderTableTest, QueryFolderValueReadsTextUpToItsFirstNulOrSaysError)
{
    const std::string key = "Software\\BrightsweepTest\\Query";
    DeleteKeyTree(HKEY_CURRENT_USER, key);
    SetString(HKEY_CURRENT_USER, key, "plain", "S:\\x");
    SetDword(HKEY_CURRENT_USER, key, "number", 0x41);
    HKEY h;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    // Stored without a terminating NUL: still read whole and nothing more.
    ::RegSetValueExA(h, "unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    EXPECT_EQ(CFolderTable::QueryFolderValue(h, "plain"), "S:\\x");
    EXPECT_EQ(CFolderTable::QueryFolderValue(h, "number"), "A"); // the type plays no part
    EXPECT_EQ(CFolderTable::QueryFolderValue(h, "unterminated"), "abc");
    EXPECT_EQ(CFolderTable::QueryFolderValue(h, "absent"), "Error");
    ::RegCloseKey(h);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\BrightsweepTest");
}

TEST(SafePath, RootsSystemFoldersAndTheirParentsAreProtected)
{
    const std::string win = "C:\\WINDOWS", sys = "C:\\WINDOWS\\system32";
    for (const char* p : {"C:\\", "C:", "c:\\", "\\\\server\\share", "\\\\server\\share\\", "\\\\server",
                          "\\\\?\\C:\\x", "\\\\.\\PhysicalDrive0", "C:\\windows", "c:\\Windows\\",
                          "C:\\WINDOWS\\SYSTEM32", "C:/Windows/", ""})
        EXPECT_TRUE(IsProtectedFolder(p, win, sys)) << p;
    for (const char* p : {"C:\\WINDOWS\\Temp", "C:\\WINDOWSX", "C:\\Win", "\\\\server\\share\\folder",
                          "D:\\WINDOWS", "C:\\Documents and Settings\\me\\Cookies"})
        EXPECT_FALSE(IsProtectedFolder(p, win, sys)) << p;
    // A system folder elsewhere protects its own parents.
    EXPECT_TRUE(IsProtectedFolder("D:\\OS", "D:\\OS\\WINNT", "D:\\OS\\WINNT\\system32"));
    EXPECT_TRUE(PathIsSameOrAbove("C:\\", "C:\\WINDOWS"));
    EXPECT_FALSE(PathIsSameOrAbove("C:\\WIN", "C:\\WINDOWS"));
}

TEST(SafePath, OnlyAbsolutePathsHaveAForm)
{
    std::string out;
    for (const char* p : {"", ".", "..", "keep", "C:", "C:keep", "\\keep", "\\\\?\\C:\\x", "\\\\.\\C:\\x",
                          "C:\\", "\\\\server\\share", "\\\\server\\\\share\\x", "C:\\a\\..\\b", "C:\\a\\.",
                          "C:\\a.\\b", "C:\\a \\b", "C:\\a:stream", "C:\\a*", "Error"})
        EXPECT_FALSE(AbsoluteFolder(p, out)) << p;
    struct {
        const char* value;
        const char* form;
    } accepted[] = {{"C:\\a", "C:\\a"},
                    {"c:/a//b\\", "c:\\a\\b"},
                    {"\\\\server\\share\\x\\", "\\\\server\\share\\x"},
                    {"S:\\.x\\a b", "S:\\.x\\a b"}};
    for (const auto& a : accepted) {
        ASSERT_TRUE(AbsoluteFolder(a.value, out)) << a.value;
        EXPECT_EQ(out, a.form);
    }
}

TEST(SafePath, TheSystemsOwnFoldersAndTheirParentsAreProtectedButNotTheirSubfolders)
{
    char self[MAX_PATH];
    std::string program(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    program.resize(program.rfind('\\'));
    char profile[MAX_PATH] = "";
    ASSERT_GT(::GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
    std::string desktop = ReadString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
    std::string personal = ReadString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    std::string programs =
        ReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    std::string profiles = std::string(profile).substr(0, std::string(profile).rfind('\\'));
    std::string out;
    for (const std::string& p : {program, std::string(profile), profiles, desktop, personal, programs})
        EXPECT_EQ(JudgeFolder(p, out), FolderVerdict::Protected) << p;
    for (const std::string& p :
         {desktop + "\\Old", personal + "\\Old", programs + "\\Old\\Cache", std::string("S:\\links")})
        EXPECT_EQ(JudgeFolder(p, out), FolderVerdict::Cleanable) << p;
    EXPECT_EQ(JudgeFolder(".", out), FolderVerdict::NotAbsolute);
}

// The build writes the help page's categories from the table: each row with
// its default, and the example log with the lines of the categories on at
// first, in the run's order.
TEST(CategoryTable, TheHelpPageShowsEveryRow)
{
    char self[MAX_PATH];
    std::string page(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    page.replace(page.find_last_of('\\'), std::string::npos, "\\help\\help.htm");
    std::ifstream in(page, std::ios::binary);
    ASSERT_TRUE(in) << page;
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    std::string log = "Begin cleaning...\n";
    for (const CategoryRow& row : kCategories) {
        const std::string cell = "<tr><td>" + std::string(row.name) + "</td><td>";
        const size_t at = html.find(cell);
        ASSERT_NE(at, std::string::npos) << row.name;
        const std::string line = html.substr(at, html.find('\n', at) - at); // a row is one line
        const std::string first = row.byDefault ? "<td>on</td></tr>" : "<td>off</td></tr>";
        ASSERT_GT(line.size(), first.size());
        EXPECT_EQ(line.substr(line.size() - first.size()), first) << row.name;
        if (row.byDefault)
            log += std::string(row.logText) + "OK\n";
    }
    EXPECT_NE(html.find(log + "End cleaning...OK\n"), std::string::npos) << log;
}

} // namespace
