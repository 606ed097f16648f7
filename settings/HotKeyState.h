// Whether the keyboard hook of the hot key is installed, and the one place that
// installs or removes it. A hook belongs to the thread that installed it, so
// only the main window's thread, which outlives every other, calls these.
#pragma once
#include "settings/CleanSettings.h"

class CHotKeyState {
public:
    typedef void (*HookFunction)();

    CHotKeyState(HookFunction install, HookFunction uninstall);
    CHotKeyState(const CHotKeyState&) = delete;
    CHotKeyState& operator=(const CHotKeyState&) = delete;

    // Installs the hook when the applied hotKeyEnabled is on and it is not
    // installed, removes it when the switch is off and it is installed. Never
    // installs twice.
    void Apply(const CleanSettings& settings);
    // Removes the hook if it is installed: for the program's exit.
    void Remove();

    bool IsInstalled() const { return hookInstalled != 0; }

private:
    void Change(bool enabled);

    HookFunction m_pfnInstall;
    HookFunction m_pfnUninstall;
    int hookInstalled = 0;
};
