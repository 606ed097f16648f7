// The C++ runtime as the shipped files are linked with it: win32 thread model,
// objects compiled with the POSIX-model headers, ANSI stand-ins in the import
// slots, the start-up code of our own. Exceptions and function-local statics
// on several threads at once go through its locks, thread-local data and
// semaphores; startup_probe.exe shows what a program's start-up hands it. A
// plain program, as GoogleTest needs the POSIX model; prints "N passed, M
// failed".
#include "framework/AnsiImports.h"
#include "framework/Thread.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const int kThreads = 6;
int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    ++(ok ? g_passed : g_failed);
}

// Starts kThreads workers that wait for one event, releases them together and
// waits (up to 30 s) for all to return. Left to workers that never returned,
// the shared start block is not freed.
bool RunTogether(AFX_THREADPROC proc)
{
    struct Start {
        AFX_THREADPROC proc;
        HANDLE go;
        LONG finished;
    };
    auto* start = new Start{proc, ::CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    auto worker = [](LPVOID p) -> UINT {
        auto* s = static_cast<Start*>(p);
        ::WaitForSingleObject(s->go, INFINITE);
        s->proc(nullptr);
        ::InterlockedIncrement(&s->finished);
        return 0;
    };
    int started = 0;
    for (int i = 0; i < kThreads; ++i)
        started += AfxBeginThread(worker, start) ? 1 : 0;
    ::SetEvent(start->go);
    for (int waited = 0; start->finished < started && waited < 30000; waited += 10)
        ::Sleep(10);
    if (start->finished < started)
        return false;
    ::CloseHandle(start->go);
    delete start;
    return started == kThreads;
}

LONG g_wrongCatches = 0;

UINT ThrowAndCatch(LPVOID)
{
    for (int i = 0; i < 2000; ++i) {
        try {
            try {
                throw std::runtime_error(std::to_string(i));
            } catch (const std::exception&) {
                throw; // rethrown through a second handler
            }
        } catch (const std::runtime_error& e) {
            if (e.what() != std::to_string(i))
                ::InterlockedIncrement(&g_wrongCatches);
        } catch (...) {
            ::InterlockedIncrement(&g_wrongCatches);
        }
    }
    return 0;
}

// A function-local static whose constructor takes long enough for every other
// thread to wait on the runtime's guard.
LONG g_slowBuilt = 0;
struct Slow {
    Slow()
    {
        ::InterlockedIncrement(&g_slowBuilt);
        ::Sleep(100);
        value = 42;
    }
    int value = 0;
};
Slow* g_slowSeen[kThreads * 2];
LONG g_slowCalls = 0;

UINT UseSlow(LPVOID)
{
    static Slow slow;
    LONG n = ::InterlockedIncrement(&g_slowCalls) - 1;
    if (n < kThreads * 2)
        g_slowSeen[n] = slow.value == 42 ? &slow : nullptr;
    return 0;
}

// Runs startup_probe.exe (beside this program) with commandLine as its whole
// command line, asked to show itself minimised without activation; returns
// its log and exit code.
std::string RunStartupProbe(std::string commandLine, DWORD* code)
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string probe(path, n);
    probe.replace(probe.find_last_of('\\') + 1, std::string::npos, "startup_probe.exe");
    ::GetTempPathA(MAX_PATH, path);
    std::string log = std::string(path) + "startup_probe.log";
    ::DeleteFileA(log.c_str());
    ::SetEnvironmentVariableA("BRIGHTSWEEP_STARTUP_LOG", log.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION pi = {};
    *code = 0;
    if (!::CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "not started";
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::GetExitCodeProcess(pi.hProcess, code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    std::string text;
    if (FILE* f = std::fopen(log.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), f))
            text += buffer;
        std::fclose(f);
    }
    return text;
}

} // namespace

int main()
{
    // The wide-character calls of the runtime reach the ANSI stand-ins.
    Check(reinterpret_cast<void*>(&::CreateSemaphoreW) == reinterpret_cast<void*>(&AnsiCreateSemaphoreW),
          "CreateSemaphoreW's import slot holds the ANSI stand-in");

    Check(RunTogether(ThrowAndCatch), "exceptions on six threads: all threads finished");
    Check(g_wrongCatches == 0, "exceptions on six threads: each caught with its own message (" +
                                   std::to_string(g_wrongCatches) + " wrong)");

    Check(RunTogether(UseSlow), "a contended static: all threads finished");
    bool same = g_slowCalls == kThreads;
    for (int i = 0; i < kThreads && same; ++i)
        same = g_slowSeen[i] && g_slowSeen[i] == g_slowSeen[0];
    Check(g_slowBuilt == 1 && same, "a contended static: built once (" + std::to_string(g_slowBuilt) +
                                        " times), every thread saw it whole");

    // The program's name, quoted or not (a byte above 127 is part of it), and
    // the blanks after it are not WinMain's command line.
    const char* const commandLines[][2] = {
        {"\"C:\\Program Files\\startup probe.exe\" one \"two three\"", "one \"two three\""},
        {"startup_probe.exe", ""},
        {"Pr\xFC" "fprogramm.exe \t /x", "/x"},
    };
    for (const auto& c : commandLines) {
        DWORD code = 0;
        std::string log = RunStartupProbe(c[0], &code);
        std::string want = std::string("constructor\ncommand line [") + c[1] +
                           "]\nshow 7\ninstances as expected\natexit second\natexit first\ndestructor\n";
        Check(code == 42 && log == want, std::string("start-up for ") + c[0] + ": exit code " +
                                             std::to_string(code) + ", log:\n" + log);
    }

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
