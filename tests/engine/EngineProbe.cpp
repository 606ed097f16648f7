// Child program for the clean run's process-ending paths, as the program takes
// them, and for the real version check under a Wine version chosen by the
// parent test; also the other program that holds a file open, without
// sharing, until it is ended.
//   engine_probe kernel|win32s|platform3|noshell|run LOGFILE [cache]|hold FILE
#include "app/CleanRunner.h"
#include "controls/LogEdit.h"
#include "engine/FolderTable.h"
#include "tests/support/Windows.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* mode = argv[1];
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    if (std::strcmp(mode, "noshell") == 0) {
        // This process sees an empty HKEY_CURRENT_USER.
        HKEY empty = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\BrightsweepTest\\EmptyUser", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &empty, nullptr);
        ::RegOverridePredefKey(HKEY_CURRENT_USER, empty);
        NewFolderTableOrEnd();
        return 3; // not reached
    }
    if (std::strcmp(mode, "hold") == 0 && argc > 2) {
        // The test's own probe of the file may hold it for a moment: retry.
        HANDLE h = INVALID_HANDLE_VALUE;
        for (int i = 0; i < 3000 && h == INVALID_HANDLE_VALUE; ++i) {
            h = ::CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                ::Sleep(10);
        }
        if (h == INVALID_HANDLE_VALUE)
            return 5;
        ::Sleep(INFINITE);
    }
    CFolderTable table;
    if (std::strcmp(mode, "kernel") == 0)
        EndOnFatalVerdict(table.CheckOsAndRunFor(FALSE, v));
    if (std::strcmp(mode, "win32s") == 0) {
        v.dwPlatformId = VER_PLATFORM_WIN32s;
        EndOnFatalVerdict(table.CheckOsAndRunFor(TRUE, v));
    }
    if (std::strcmp(mode, "platform3") == 0) {
        v.dwPlatformId = 3;
        EndOnFatalVerdict(table.CheckOsAndRunFor(TRUE, v));
    }
    if (std::strcmp(mode, "run") == 0 && argc > 2) {
        HostWindow host;
        CLogEdit pane;
        pane.SubclassWindow(host.hEdit);
        table.SetLogPane(&pane);
        table.SetEnabled(Category::Temp, TRUE);
        table.SetEnabled(Category::Cache, argc > 3 && std::strcmp(argv[3], "cache") == 0);
        EndOnFatalVerdict(table.CheckOsAndRun());
        FILE* f = std::fopen(argv[2], "wb");
        if (!f)
            return 4;
        std::string log = WindowText(host.hEdit);
        std::fwrite(log.data(), 1, log.size(), f);
        std::fclose(f);
        return 0;
    }
    return 1;
}
