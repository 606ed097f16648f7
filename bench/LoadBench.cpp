// Time of one settings load from the registry (LoadSettings with its repairs),
// for a plain key, a folder count far beyond the stored folders and a long
// folder list, side by side. Uses the build prefix's settings key.
#include "settings/SettingsStore.h"
#include "settings/ValueFormats.h"
#include "tests/support/Registry.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kRuns = 9;

// Stores a valid key with count in "CustomNumber" and folders "Custom1"...
void Prepare(DWORD count, int folders)
{
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0");
    SetString(HKEY_CURRENT_USER, kSettingsKey, "Content", "11111100");
    SetString(HKEY_CURRENT_USER, kSettingsKey, "Mode", "00001");
    SetString(HKEY_CURRENT_USER, kSettingsKey, "HotKey", "12700");
    SetDword(HKEY_CURRENT_USER, kSettingsKey, "CustomNumber", count);
    for (int i = 1; i <= folders; ++i)
        SetString(HKEY_CURRENT_USER, kSettingsKey, "Custom" + std::to_string(i), "C:\\f" + std::to_string(i));
}

// Median milliseconds of a load of what Prepare stored.
double MedianLoadMs(DWORD count, int folders)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        Prepare(count, folders); // a load may rewrite the key
        CleanSettings s;
        LARGE_INTEGER t0, t1;
        ::QueryPerformanceCounter(&t0);
        LoadSettings(s);
        ::QueryPerformanceCounter(&t1);
        ms.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main()
{
    double plain = MedianLoadMs(0, 0);
    double huge = MedianLoadMs(0x7FFFFFFF, 2);
    double many = MedianLoadMs(500, 500);
    std::printf("settings load, median of %d under Wine: no folders %.2f ms, CustomNumber 0x7FFFFFFF with 2 "
                "folders %.2f ms, 500 folders %.2f ms\n",
                kRuns, plain, huge, many);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brightsweep1.0");
    return 0;
}
