// A program linked like Brightsweep.exe, started by runtime_tests: appends
// what its start-up gave it to the file named by BRIGHTSWEEP_STARTUP_LOG, one
// line each, and ends with exit code 42 after two atexit functions and a
// static object's destructor.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Log(const std::string& line)
{
    char path[MAX_PATH];
    if (!::GetEnvironmentVariableA("BRIGHTSWEEP_STARTUP_LOG", path, sizeof(path)))
        return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

struct Static {
    Static() { Log("constructor"); }
    ~Static() { Log("destructor"); }
} g_static;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    Log(std::string("command line [") + commandLine + "]");
    Log("show " + std::to_string(show));
    Log(instance == ::GetModuleHandleA(nullptr) && !previous ? "instances as expected" : "wrong instances");
    std::atexit([] { Log("atexit first"); });
    std::atexit([] { Log("atexit second"); });
    return 42;
}
