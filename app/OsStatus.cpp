#include "app/OsStatus.h"

StartupOs CheckStartupOs(BOOL versionOk, const OSVERSIONINFOA& version, std::string* osText)
{
    osText->clear();
    if (!versionOk)
        return StartupOs::Supported;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return StartupOs::Win31;
    case VER_PLATFORM_WIN32_WINDOWS:
        *osText = version.dwMinorVersion == 0 ? "OS: Windows 95" : "OS: Windows 98";
        return StartupOs::Supported;
    case VER_PLATFORM_WIN32_NT:
        if (version.dwMajorVersion == 3 || version.dwMajorVersion == 4)
            *osText = "OS: Windows NT";
        else if (version.dwMajorVersion == 5)
            *osText = "OS: Windows 2000";
        return StartupOs::Supported;
    default:
        return StartupOs::Unsupported;
    }
}
