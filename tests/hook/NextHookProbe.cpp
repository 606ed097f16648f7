// Child of the hook tests: a process that did not install the hook. Loads
// Keywatch.dll as the system does, calls the hook procedure once and exits
// with the handle it passed on to the next hook (0 for none). With "install",
// installs and removes a hook of its own first, as a second program would.
#include "tests/hook/ImportPatch.h"

#include <cstring>

namespace {

typedef LRESULT(CALLBACK* HookProc)(int, WPARAM, LPARAM);
typedef void (*InstallProc)();

const int kHcNoRemove = 3; // a peek: the key logic leaves it alone
const UINT kProbeFailed = 0xFFFFFFFF;

HHOOK g_passedOn = nullptr;

LRESULT WINAPI RecordNext(HHOOK hook, int, WPARAM, LPARAM)
{
    g_passedOn = hook;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    HMODULE dll = ::LoadLibraryA("Keywatch.dll");
    if (!dll)
        return kProbeFailed;
    auto hook = reinterpret_cast<HookProc>(reinterpret_cast<void*>(::GetProcAddress(dll, "LauncherHook")));
    auto install = reinterpret_cast<InstallProc>(reinterpret_cast<void*>(::GetProcAddress(dll, "InstallLaunchEv")));
    auto remove = reinterpret_cast<InstallProc>(reinterpret_cast<void*>(::GetProcAddress(dll, "UnInstallLaunchEv")));
    void* original = nullptr;
    if (!hook || !install || !remove ||
        PatchImport(dll, "user32.dll", "CallNextHookEx", reinterpret_cast<void*>(RecordNext), &original) != 1)
        return kProbeFailed;
    if (argc > 1 && std::strcmp(argv[1], "install") == 0) {
        install();
        remove();
    }
    hook(kHcNoRemove, 'A', 1);
    return static_cast<int>(HandleToULong(g_passedOn));
}
