// End-to-end set-up: the program's shell folders and Temp on scratch folders
// with files in them, its settings key as a test wants it, and the program
// started with real input to drive it.
#pragma once
#include "tests/support/Program.h"
#include "tests/support/Registry.h"
#include "tests/support/Scratch.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const char kSettingKey[];

class E2ETest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Folders the program cleans: S:\e2e\<name>, each with a file and a subfolder.
    std::string Folder(const std::string& name) const { return root + "\\" + name; }
    void Fill(const std::string& name);
    bool Emptied(const std::string& name) const;
    std::string Setting(const char* value) const { return ReadString(HKEY_CURRENT_USER, kSettingKey, value); }

    // Clicks a skin button by its place in the window (client coordinates of
    // its centre).
    void ClickButton(const char* caption);
    std::string Status() const { return program.Pane(1007); }
    std::string Log() const { return program.Pane(1006); }

    // The program's notification-area icon, found as what changed in the
    // taskbar's notification area since before the program started: its
    // centre in screen coordinates, or false when nothing shows there.
    bool TrayIcon(POINT* centre = nullptr) const;
    bool TrayIconShown() const { return TrayIcon(); }
    // Opens the tray menu with a real right-click on the icon; its window or null.
    HWND OpenTrayMenu() const;

    std::string root;
    CProgram program;
    std::vector<COLORREF> m_trayBefore;
};
