#include "engine/OsVersion.h"

OsVerdict ClassifyOs(BOOL versionOk, const OSVERSIONINFOA& version)
{
    if (!versionOk)
        return OsVerdict::KernelError;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return OsVerdict::Win31;
    case VER_PLATFORM_WIN32_WINDOWS:
        return OsVerdict::Run;
    case VER_PLATFORM_WIN32_NT:
        return version.dwMajorVersion >= 3 && version.dwMajorVersion <= 5 ? OsVerdict::Run : OsVerdict::Skip;
    default:
        return OsVerdict::Unsupported;
    }
}

const char* OsStatusText(BOOL versionOk, const OSVERSIONINFOA& version)
{
    if (ClassifyOs(versionOk, version) != OsVerdict::Run)
        return "";
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return version.dwMinorVersion == 0 ? "OS: Windows 95" : "OS: Windows 98";
    return version.dwMajorVersion == 5 ? "OS: Windows 2000" : "OS: Windows NT";
}

const char* FatalOsText(OsVerdict verdict)
{
    switch (verdict) {
    case OsVerdict::KernelError:
        return "I'm sorry, A Kernal Error!";
    case OsVerdict::Win31:
        return "I'am sorry, Current windows3.1 can't be supported!";
    case OsVerdict::Unsupported:
        return "I'm sorry, Current your OS version can't be supported.";
    case OsVerdict::Run:
    case OsVerdict::Skip:
        break;
    }
    return nullptr;
}

BOOL CurrentOsVersion(OSVERSIONINFOA* version)
{
    *version = OSVERSIONINFOA();
    version->dwOSVersionInfoSize = sizeof(*version);
    return ::GetVersionExA(version);
}

bool IsWin95Family()
{
    OSVERSIONINFOA version;
    return CurrentOsVersion(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
