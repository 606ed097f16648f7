// A program with imports that check_imports.sh must refuse, linked the way the
// tests are (POSIX thread model, so with winpthread). Built, never run.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <commctrl.h>

#include <mutex>

int main()
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
