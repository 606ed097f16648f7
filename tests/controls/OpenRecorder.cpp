// Stand-in for a web browser in the tests: writes its whole command line to
// the file named by BRIGHTSWEEP_OPEN_RECORD, first aside and then renamed, so
// that a reader never sees half of it.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char target[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("BRIGHTSWEEP_OPEN_RECORD", target, sizeof(target));
    if (n == 0 || n >= sizeof(target))
        return 1;
    std::string aside = std::string(target) + ".part";
    HANDLE h = ::CreateFileA(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 2;
    const char* line = ::GetCommandLineA();
    DWORD written = 0;
    ::WriteFile(h, line, lstrlenA(line), &written, nullptr);
    ::CloseHandle(h);
    return ::MoveFileExA(aside.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
