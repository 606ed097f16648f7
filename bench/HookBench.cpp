// Cost of one call of the keyboard hook procedure, measured in this process,
// next to a bare registry read of "HotKey"; and the allocations the library
// makes per call. Prints its figures; sets "HotKey" for the run and puts it back.
#include "hook/KeywatchExports.h"
#include "tests/hook/ImportPatch.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kSettingKey[] = "Software\\Brightsweep1.0\\Setting";
const int kRounds = 9;
const int kCallsPerRound = 500;
const LPARAM kPress = 0x00000001, kRelease = static_cast<LPARAM>(0xC0000001);

// The settings key and its "HotKey" as they were, put back at the end.
struct SavedValue {
    bool keyExisted = false;
    bool valueExisted = false;
    DWORD type = 0;
    std::vector<BYTE> data;

    SavedValue()
    {
        HKEY h;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
            return;
        keyExisted = true;
        DWORD size = 0;
        if (::RegQueryValueExA(h, "HotKey", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            data.resize(size);
            valueExisted =
                ::RegQueryValueExA(h, "HotKey", nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
            data.resize(size);
        }
        ::RegCloseKey(h);
    }
    ~SavedValue()
    {
        if (!keyExisted) {
            ::RegDeleteKeyA(HKEY_CURRENT_USER, kSettingKey);
            return;
        }
        HKEY h;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
            return;
        if (valueExisted)
            ::RegSetValueExA(h, "HotKey", 0, type, data.data(), static_cast<DWORD>(data.size()));
        else
            ::RegDeleteValueA(h, "HotKey");
        ::RegCloseKey(h);
    }
};

bool SetHotKey(const char* text)
{
    HKEY h;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(h, "HotKey", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               static_cast<DWORD>(lstrlenA(text) + 1));
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

// What the hook must do at least: open, size, value, close.
void BareRead()
{
    HKEY h;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingKey, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return;
    char text[64];
    DWORD size = 0;
    if (::RegQueryValueExA(h, "HotKey", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        size <= sizeof(text))
        ::RegQueryValueExA(h, "HotKey", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(h);
}

void Keystroke()
{
    LauncherHook(HC_ACTION, 'A', kPress);
}

// Esc released with "12700": the call posts the broadcast.
void FiringKeystroke()
{
    LauncherHook(HC_ACTION, VK_ESCAPE, kRelease);
}

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call for one round.
double Round(void (*call)())
{
    double start = Now();
    for (int i = 0; i < kCallsPerRound; ++i)
        call();
    return (Now() - start) / kCallsPerRound;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    SavedValue saved;
    if (!SetHotKey("12700")) {
        std::printf("hook_bench: cannot write HotKey\n");
        return 1;
    }
    HMODULE dll = ::GetModuleHandleA("Keywatch.dll");
    AllocationCounter allocations(dll);

    // Warm up, then interleave the rounds so that load on the machine hits all
    // three alike.
    Round(BareRead);
    Round(Keystroke);
    long allocationsBefore = AllocationCounter::Count();
    std::vector<double> bare, hook, firing;
    for (int r = 0; r < kRounds; ++r) {
        bare.push_back(Round(BareRead));
        hook.push_back(Round(Keystroke));
        firing.push_back(Round(FiringKeystroke));
    }
    long allocated = AllocationCounter::Count() - allocationsBefore;
    long calls = 2L * kRounds * kCallsPerRound;

    double bareUs = Median(bare), hookUs = Median(hook), firingUs = Median(firing);
    std::printf("Keywatch hook cost, in process under Wine (median of %d rounds of %d calls)\n", kRounds,
                kCallsPerRound);
    std::printf("  bare \"HotKey\" read (open, size, value, close): %8.1f us\n", bareUs);
    std::printf("  LauncherHook, keystroke that fires nothing:     %8.1f us\n", hookUs);
    std::printf("  LauncherHook, keystroke that fires (broadcast): %8.1f us\n", firingUs);
    std::printf("  ratio LauncherHook / bare read:                 %8.2f (target <= 1.20)\n", hookUs / bareUs);
    if (allocations.Patched() > 0)
        std::printf("  allocations by Keywatch.dll:                    %8ld in %ld calls\n", allocated, calls);
    else
        std::printf("  allocations by Keywatch.dll:                    none possible (it imports no allocator)\n");
    return 0;
}
