#include "settings/HotKeyState.h"

CHotKeyState::CHotKeyState(HookFunction install, HookFunction uninstall)
    : m_pfnInstall(install), m_pfnUninstall(uninstall)
{
}

void CHotKeyState::Apply(const CleanSettings& settings)
{
    Change(settings.applied.hotKeyEnabled != 0);
}

void CHotKeyState::Remove()
{
    Change(false);
}

void CHotKeyState::Change(bool enabled)
{
    if (enabled && !hookInstalled) {
        m_pfnInstall();
        hookInstalled = 1;
    } else if (!enabled && hookInstalled) {
        m_pfnUninstall();
        hookInstalled = 0;
    }
}
