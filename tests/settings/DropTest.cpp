// Folders arriving on the Custom page's path box: shortcuts made through the
// shell's own link object, drops delivered as real HDROP blocks, typed paths.
#include "settings/pages/DropEdit.h"
#include "settings/pages/FolderCandidate.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A shell link at linkPath pointing to target, saved by the shell's link object.
bool MakeShortcut(const std::string& linkPath, const std::string& target)
{
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(link->SetPath(target.c_str())) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (ok) {
        WCHAR wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        ok = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return ok && Exists(linkPath);
}

// A drop block as the shell hands it over: DROPFILES, then the ANSI names,
// each ended by a NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& n : names)
        size += n.size() + 1;
    HGLOBAL mem = ::GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(mem));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& n : names) {
        std::memcpy(p, n.c_str(), n.size() + 1);
        p += n.size() + 1;
    }
    ::GlobalUnlock(mem);
    return static_cast<HDROP>(mem);
}

class FolderDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        root = FreshScratch("drop");
        for (const char* name : {"One", "Two", "Three"})
            MakeDir(root + "\\" + name);
        WriteFile(root + "\\plain.txt");
        edit.SubclassWindow(host.hEdit);
        edit.acceptFolders = 1;
    }
    void TearDown() override
    {
        edit.UnsubclassWindow();
        ::CoUninitialize();
    }
    std::string Path(const char* name) const { return root + "\\" + name; }
    void Drop(const std::vector<std::string>& names)
    {
        ::SendMessageA(host.hEdit, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
    }
    // The box's text and the accepted path, after the drop.
    void ExpectBox(const std::string& text, const std::string& accepted)
    {
        EXPECT_EQ(WindowText(host.hEdit), text);
        EXPECT_EQ(edit.droppedPath, accepted);
    }

    std::string root;
    HostWindow host;
    CDropEdit edit;
};

TEST_F(FolderDrop, ShortcutsResolveToTheirStoredTarget)
{
    ASSERT_TRUE(MakeShortcut(Path("to-folder.lnk"), Path("Two")));
    ASSERT_TRUE(MakeShortcut(Path("to-file.lnk"), Path("plain.txt")));
    EXPECT_STREQ(ResolveShortcut(Path("to-folder.lnk").c_str()).c_str(), Path("Two").c_str());
    EXPECT_EQ(ResolveShortcut(Path("to-file.lnk").c_str()), Path("plain.txt"));
    EXPECT_EQ(ResolveShortcut(Path("plain.txt").c_str()), "");
    EXPECT_EQ(ResolveShortcut(Path("missing.lnk").c_str()), "");
    EXPECT_EQ(ResolveCandidate(Path("plain.txt")), Path("plain.txt"));
}

TEST_F(FolderDrop, OneFolderIsShownAndTakenOfThreeOnlyTheFirst)
{
    Drop({Path("One")});
    ExpectBox(Path("One"), Path("One"));
    Drop({Path("Three"), Path("Two"), Path("One")});
    ExpectBox(Path("Three"), Path("Three"));
    HDROP three = MakeDrop({Path("Two"), Path("Three"), Path("One")});
    EXPECT_EQ(FirstDroppedName(three), Path("Two"));
    ::DragFinish(three);
}

TEST_F(FolderDrop, AShortcutToAFolderGivesTheTargetAndAnythingElseChangesNothing)
{
    ASSERT_TRUE(MakeShortcut(Path("to-folder.lnk"), Path("Two")));
    ASSERT_TRUE(MakeShortcut(Path("to-file.lnk"), Path("plain.txt")));
    Drop({Path("to-folder.lnk")});
    ExpectBox(Path("Two"), Path("Two"));

    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string& refused :
         {Path("plain.txt"), Path("to-file.lnk"), Path("gone"), std::string("S:\\"), std::string(windows)}) {
        Drop({refused});
        ExpectBox(Path("Two"), Path("Two"));
    }
    // A plain file first hides the folders after it.
    Drop({Path("plain.txt"), Path("One")});
    ExpectBox(Path("Two"), Path("Two"));
}

TEST_F(FolderDrop, ABoxForFilesShowsAFileAndKeepsItsPath)
{
    edit.acceptFolders = 0;
    Drop({Path("One")});
    ExpectBox("", "");
    Drop({Path("plain.txt")});
    ExpectBox(Path("plain.txt"), "");
}

TEST_F(FolderDrop, TypedTextCountsOnlyAsAnAddableFolderNamedByAnAbsolutePath)
{
    auto take = [](const std::string& text, const std::string& dropped, Refusal expected) {
        std::string path = "unchanged";
        EXPECT_EQ(AddCandidate(text, dropped, path), expected) << text;
        return path;
    };
    EXPECT_EQ(take("", Path("One"), Refusal::None), Path("One"));
    EXPECT_EQ(take("  " + Path("Two") + "\\ ", Path("One"), Refusal::None), Path("Two"));
    EXPECT_EQ(take(Path("plain.txt"), Path("One"), Refusal::NoFolder), "");
    EXPECT_EQ(take(Path("gone"), Path("One"), Refusal::NoFolder), "");
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string& p : {std::string("S:\\"), std::string(windows) + "\\"})
        EXPECT_EQ(take(p, Path("One"), Refusal::Protected), "");
    MakeDir("S:\\current\\keep"); // below the current directory
    for (const char* p : {".", "..", "keep", "S:keep", "\\keep", "S:"})
        EXPECT_EQ(take(p, Path("One"), Refusal::NotAbsolute), "");
    ASSERT_TRUE(MakeShortcut(Path("to-folder.lnk"), Path("Three")));
    EXPECT_EQ(take(Path("to-folder.lnk"), "", Refusal::None), Path("Three"));
    // Each refusal with its own text, as the box shows it.
    EXPECT_STREQ(RefusalText(Refusal::NotAbsolute),
                 "Please type the full path of the folder, such as C:\\Temp\\Old or \\\\server\\share\\Old.");
    EXPECT_STREQ(RefusalText(Refusal::Protected),
                 "This folder is never emptied: it is a drive or a share, it holds Windows, Program Files, your "
                 "profile, Desktop or My Documents, it is this program's own folder or lies in the system folder, "
                 "or it is reached through a link. Choose another folder.");
    EXPECT_STREQ(RefusalText(Refusal::NoFolder), "There is no folder at this path.");
    EXPECT_STREQ(RefusalText(Refusal::None), "");
}

} // namespace
