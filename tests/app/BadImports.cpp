// A DLL with imports that check_imports.sh must refuse, linked the way the
// tests are (POSIX thread model, so with winpthread, and MinGW's start-up with
// its thread-local storage directory), marked for Windows 2000. Built, never
// run.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <commctrl.h>

#include <mutex>

extern "C" __declspec(dllexport) int Fixture()
{
    std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    CRITICAL_SECTION cs;
    ::InitializeCriticalSection(&cs);
    ::TryEnterCriticalSection(&cs);
    ::SetWindowSubclass(nullptr, nullptr, 0, 0);
    ::CreateSemaphoreW(nullptr, 0, 1, nullptr);
    ::Beep(440, 10);
    ::SetMenuDefaultItem(nullptr, 0, TRUE);
    return static_cast<int>(::GetTickCount64());
}
