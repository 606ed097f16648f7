// A protected folder under every name it has, links on the way to a cleaned
// folder, the system's own subtree, protections that cannot be read, and
// ANSI paths of a double-byte code page: on both walks.
#include "engine/DeleteWalk.h"
#include "engine/NtFiles.h"
#include "engine/SafePath.h"
#include "tests/engine/EngineFixture.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void SetExpandString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    HKEY h = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(h, name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(h);
}

std::string Cased(std::string s, bool upper)
{
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x80)
            c = static_cast<char>(upper ? ::toupper(c) : ::tolower(c));
    return s;
}

std::string Replaced(std::string s, char from, char to)
{
    for (char& c : s)
        if (c == from)
            c = to;
    return s;
}

std::string ShortName(const std::string& path)
{
    char out[MAX_PATH] = "";
    DWORD n = ::GetShortPathNameA(path.c_str(), out, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(out, n) : std::string();
}

bool IsFolder(const std::string& path)
{
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class NameFormsTest : public WalkTest {
protected:
    Identity By() const { return GetParam() == DeleteWalk::Native ? Identity::Handles : Identity::Names; }
    // My Documents in the scratch folder, with a long name whose short form
    // differs, holding files.
    std::string MakeDocuments()
    {
        std::string docs = Folder("My Documents Folder");
        MakeDir(docs);
        WriteFile(docs + "\\letter.txt");
        MakeDir(docs + "\\Old");
        WriteFile(docs + "\\Old\\draft.txt");
        SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", docs);
        return docs;
    }

    SavedValue personal{HKEY_CURRENT_USER, kShellFoldersKey, "Personal"};
    SavedValue userPersonal{HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal"};
};

// One table of the names a folder has: each is judged, then handed to the
// cleaner, and what must stay stays.
TEST_P(NameFormsTest, EveryNameOfAProtectedFolderIsRefusedAndNoLinkIsFollowed)
{
    const std::string docs = MakeDocuments();
    const std::string tail = docs.substr(2); // "\<root>\My Documents Folder"
    const std::string shortDocs = ShortName(docs);
    ASSERT_FALSE(shortDocs.empty());
    ASSERT_NE(shortDocs, docs) << "a long name has a short form";
    // Names cannot see that two drive letters are one folder: only handles do.
    const bool handles = By() == Identity::Handles;
    const char* const kNoT =
        "T:, the scratch folder's second letter, is made by make-links in ctest's prefix";
    const char* const kNoShare =
        "Windows NT shares every drive as S$ and so on; Wine has no administrative shares";
    struct Form {
        const char* what;
        std::string path;
        bool refused;        // by the identity of this walk
        const char* missing; // why this system may lack the name; null: it must be there
    } forms[] = {
        {"as the system names it", docs, true, nullptr},
        {"lower case", Cased(docs, false), true, nullptr},
        {"upper case", Cased(docs, true), true, nullptr},
        {"slashes", Replaced(docs, '\\', '/'), true, nullptr},
        {"trailing backslash", docs + "\\", true, nullptr},
        {"trailing slash", docs + "/", true, nullptr},
        {"short name", shortDocs, true, nullptr},
        {"short name in lower case", Cased(shortDocs, false), true, nullptr},
        {"the folder that holds it", root, true, nullptr},
        {"the folder that holds it, short", ShortName(root), true, nullptr},
        {"a second drive letter", "T:" + tail, handles, kNoT},
        {"a second drive letter, short", "T:" + ShortName(docs).substr(2), handles, kNoT},
        {"UNC through the local host", "\\\\localhost\\S$" + tail, handles, kNoShare},
        {"a folder inside it", docs + "\\Old", false, nullptr},
        {"the same, short", shortDocs + "\\Old", false, nullptr},
        {"a link at the top", "S:\\links\\toplink", true, nullptr},
        {"a link higher up", "S:\\links\\updir\\outside", true, nullptr},
    };
    std::string skipped;
    for (const Form& form : forms) {
        SCOPED_TRACE(std::string(form.what) + ": " + form.path);
        if (form.missing && !IsFolder(form.path)) {
            skipped += std::string("\n  ") + form.path + ": " + form.missing;
            continue;
        }
        ASSERT_TRUE(IsFolder(form.path)) << "the fixture is missing";
        std::string out;
        EXPECT_EQ(JudgeFolder(form.path, out, By()) == FolderVerdict::Protected, form.refused);
        MakeTable()->DeleteTree("*.*", form.path.c_str());
        EXPECT_TRUE(Exists(docs + "\\letter.txt"));
        EXPECT_TRUE(Exists("S:\\links\\outside\\keep.txt"));
        EXPECT_TRUE(Exists("S:\\links\\outside\\sub\\keep2.txt"));
        // The folders inside it are emptied.
        if (form.path.size() > 4 && form.path.compare(form.path.size() - 4, 4, "\\Old") == 0) {
            EXPECT_FALSE(Exists(docs + "\\Old\\draft.txt"));
            WriteFile(docs + "\\Old\\draft.txt");
        }
    }
    if (!skipped.empty())
        GTEST_SKIP() << "every other name was checked; not on this system:" << skipped;
}

// The Windows folder and the system folder's whole subtree are never emptied,
// nor the common files; the Windows folder's trace folders and Program
// Files' other subfolders may be.
TEST_P(NameFormsTest, TheSystemsSubtreeIsProtectedButItsTraceFoldersAreNot)
{
    char windows[MAX_PATH], system[MAX_PATH];
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string programs =
        ReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    std::string out;
    // Judged only: nothing here is handed to a cleaner.
    for (const std::string& p : {std::string(windows), std::string(system), std::string(system) + "\\drivers",
                                 std::string(system) + "\\config", std::string(windows) + "\\Fonts",
                                 ShortName(std::string(system) + "\\drivers"), programs, programs + "\\Common Files"})
        EXPECT_EQ(JudgeFolder(p, out, By()), FolderVerdict::Protected) << p;
    for (const std::string& p : {std::string(windows) + "\\Temp", programs + "\\Internet Explorer"}) {
        ASSERT_TRUE(IsFolder(p)) << p;
        EXPECT_EQ(JudgeFolder(p, out, By()), FolderVerdict::Cleanable) << p;
    }
    // A shell folder pointed into the system folder is no category.
    SavedValue history(HKEY_CURRENT_USER, kShellFoldersKey, "History");
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "History", std::string(system) + "\\config");
    EXPECT_EQ(MakeTable()->Has(Category::History), FALSE);
}

// A protected folder whose location cannot be read protects everything.
TEST_P(NameFormsTest, ProtectionsThatCannotBeReadLeaveNothingCleanable)
{
    const std::string docs = MakeDocuments();
    std::string out;
    ASSERT_EQ(JudgeFolder(Folder("Custom1"), out, By()), FolderVerdict::Cleanable);
    // An expandable value is expanded.
    ::SetEnvironmentVariableA("BRIGHTSWEEP_DOCS", docs.c_str());
    SetExpandString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", "%BRIGHTSWEEP_DOCS%");
    EXPECT_EQ(JudgeFolder(docs, out, By()), FolderVerdict::Protected);
    EXPECT_EQ(JudgeFolder(Folder("Custom1"), out, By()), FolderVerdict::Cleanable);
    // Too long, unexpandable, or missing everywhere: nothing is cleanable.
    SetString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", "S:\\" + std::string(300, 'x'));
    EXPECT_EQ(JudgeFolder(Folder("Custom1"), out, By()), FolderVerdict::Protected);
    auto t = MakeTable();
    EXPECT_EQ(t->Has(Category::Cache), FALSE);
    EXPECT_EQ(t->Has(Category::Temp), FALSE);
    t->DeleteTree("*.*", Folder("Custom1").c_str());
    EXPECT_TRUE(Untouched("Custom1"));
    SetExpandString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", "%BRIGHTSWEEP_NO_SUCH_VARIABLE%\\Docs");
    EXPECT_EQ(JudgeFolder(Folder("Custom1"), out, By()), FolderVerdict::Protected);
    DeleteValue(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    DeleteValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal");
    EXPECT_EQ(JudgeFolder(Folder("Custom1"), out, By()), FolderVerdict::Protected);
}

// Code page 932, where a character's second byte may be that of "\" or "|":
// run with a Japanese locale (ctest's engine_cp932).
TEST_P(NameFormsTest, DoubleByteNamesAreSplitByCharacters)
{
    // engine_cp932 sets BRIGHTSWEEP_ANSI_CP: there the code page must be 932.
    if (std::getenv("BRIGHTSWEEP_ANSI_CP"))
        ASSERT_EQ(::GetACP(), 932u) << "the Japanese locale did not reach Wine";
    else if (::GetACP() != 932)
        GTEST_SKIP() << "the ANSI code page is " << ::GetACP() << ", not 932";
    const std::string kikai = "\x8b\x40\x94\x5c"; // 機能: the second byte of 能 is "\"
    std::string out;
    ASSERT_TRUE(AbsoluteFolder("C:\\" + kikai + "\\Temp\\", out));
    EXPECT_EQ(out, "C:\\" + kikai + "\\Temp");
    EXPECT_EQ(NormalizeFolderPath("S:\\\x95\x5c"), "S:\\\x95\x5c"); // 表 keeps its second byte
    EXPECT_EQ(NormalizeFolderPath("S:\\\x95\x5c\\"), "S:\\\x95\x5c");
    EXPECT_TRUE(IsPlainName("\x83\x7c.txt")); // ポ: the second byte is "|"

    const std::string clean = Folder("clean");
    const std::string keep = Folder("keep");
    MakeDir(clean);
    MakeDir(keep);
    WriteFile(keep + "\\k.txt");
    // 表, 能 holding ソ, ポ, 十 holding a folder
    WriteFile(clean + "\\\x95\x5c.txt");
    MakeDir(clean + "\\\x94\x5c");
    WriteFile(clean + "\\\x94\x5c\\\x83\x5c.txt");
    MakeDir(clean + "\\\x83\x7c");
    WriteFile(clean + "\\\x83\x7c\\x.txt");
    MakeDir(clean + "\\\x8f\x5c");
    MakeDir(clean + "\\\x8f\x5c\\" + kikai);
    ASSERT_EQ(ListDir(clean).size(), 4u);
    EXPECT_EQ(JudgeFolder(clean + "\\\x94\x5c", out, By()), FolderVerdict::Cleanable);
    EXPECT_EQ(out, clean + "\\\x94\x5c");
    MakeTable()->DeleteTree("*.*", clean.c_str());
    EXPECT_EQ(ListDir(clean), std::vector<std::string>());
    EXPECT_TRUE(Exists(keep + "\\k.txt"));
}

INSTANTIATE_TEST_SUITE_P(Walks, NameFormsTest, ::testing::Values(DeleteWalk::Native, DeleteWalk::Win95),
                         [](const ::testing::TestParamInfo<DeleteWalk>& info) {
                             return info.param == DeleteWalk::Native ? "Native" : "Win95";
                         });

} // namespace
