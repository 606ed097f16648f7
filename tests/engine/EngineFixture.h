// Shared set-up for engine tests: shell folders and Temp pointed at fresh
// scratch folders, each holding a few files, and a pane to log into.
#pragma once
#include "controls/LogEdit.h"
#include "engine/FolderTable.h"
#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = FreshScratch(RootName());
        const char* names[] = {"Cache",  "Cookies", "Favorites", "History",
                               "Recent", "Temp",    "Custom1",   "Custom2"};
        for (const char* name : names) {
            std::string folder = root + "\\" + name;
            MakeDir(folder);
            WriteFile(folder + "\\a.txt");
            MakeDir(folder + "\\sub");
            WriteFile(folder + "\\sub\\b.txt");
        }
        for (const char* value : {"Cache", "Cookies", "Favorites", "History", "Recent"})
            SetString(HKEY_CURRENT_USER, kShellFoldersKey, value, Folder(value));
        ::SetEnvironmentVariableA("TEMP", (Folder("Temp") + "\\").c_str());
        ::SetEnvironmentVariableA("TMP", (Folder("Temp") + "\\").c_str());
        ASSERT_TRUE(pane.SubclassWindow(host.hEdit));
        pane.SetFixedRect(RECT{26, 226, 258, 361});
    }

    virtual std::string RootName() const
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(info->test_suite_name()) + "_" + info->name();
    }

    // A table over the scratch folders, every usable path checked to lie on S:.
    std::unique_ptr<CFolderTable> MakeTable()
    {
        auto table = std::make_unique<CFolderTable>();
        const CFolderTable& t = *table;
        for (const CategoryRow& row : kCategories) {
            const std::string& folder = t.Folder(row.id);
            if (row.folder != FolderSource::None && row.folder != FolderSource::UserFolders &&
                t.Has(row.id) && !IsUnderScratch(folder)) {
                std::fprintf(stderr, "usable folder outside the scratch drive: %s\n", folder.c_str());
                std::abort();
            }
        }
        table->SetLogPane(&pane);
        return table;
    }

    std::string Folder(const std::string& name) const { return root + "\\" + name; }
    bool Emptied(const std::string& name) const
    {
        return Exists(Folder(name)) && ListDir(Folder(name)).empty();
    }
    bool Untouched(const std::string& name) const
    {
        return Exists(Folder(name) + "\\a.txt") && Exists(Folder(name) + "\\sub\\b.txt");
    }
    std::string Log() const { return WindowText(host.hEdit); }

    std::string root;
    HostWindow host;
    CLogEdit pane;
};

// A test run on each walk: its table uses the walk of the parameter.
class WalkTest : public EngineTest, public ::testing::WithParamInterface<DeleteWalk> {
protected:
    std::string RootName() const override
    {
        std::string name = EngineTest::RootName();
        for (char& c : name)
            if (c == '/')
                c = '_';
        return name;
    }
    std::unique_ptr<CFolderTable> MakeTable()
    {
        auto table = EngineTest::MakeTable();
        table->UseWalk(GetParam());
        return table;
    }
};

// A pane that lets a test act at the moment a given text is set.
struct PaneSpy : CLogEdit {
    std::function<void(const std::string&)> onText;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_SETTEXT && onText)
            onText(reinterpret_cast<const char*>(lp));
        return CLogEdit::WindowProc(msg, wp, lp);
    }
};

const char kUserShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// A registry value put back as it was, whatever its type.
class SavedValue {
public:
    SavedValue(HKEY root, std::string key, std::string name) : m_root(root), m_key(key), m_name(name)
    {
        m_had = ReadValue(root, key, name, &m_type, &m_data);
    }
    ~SavedValue()
    {
        HKEY h = nullptr;
        if (::RegCreateKeyExA(m_root, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (m_had)
            ::RegSetValueExA(h, m_name.c_str(), 0, m_type, reinterpret_cast<const BYTE*>(m_data.data()),
                             static_cast<DWORD>(m_data.size()));
        else
            ::RegDeleteValueA(h, m_name.c_str());
        ::RegCloseKey(h);
    }

private:
    HKEY m_root;
    std::string m_key, m_name;
    bool m_had = false;
    DWORD m_type = 0;
    std::string m_data;
};

inline void EnableDefaults(CFolderTable& t)
{
    for (Category c : {Category::Cache, Category::History, Category::Cookies, Category::TypedUrls,
                       Category::Recent, Category::Temp})
        t.SetEnabled(c, TRUE);
    t.SetEnabled(Category::Favorites, FALSE);
    t.SetEnabled(Category::Custom, FALSE);
}
