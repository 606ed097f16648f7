/* Start-up of the shipped programs, in place of MinGW's crt2.o (compiled for
   the Pentium Pro): the C runtime is msvcrt.dll. Sets up the runtime's
   arguments, applies pseudo-relocations, runs the static constructors and
   calls main; a program without one gets MinGW's main, which calls WinMain
   with the three __mingw_winmain_ values below. The result ends the process
   through exit, which runs the atexit functions (static destructors among
   them) in reverse order. */
#include <windows.h>

#include <float.h>
#include <stdlib.h>

typedef struct {
    int newmode;
} StartupInfo;

int __cdecl __getmainargs(int* argc, char*** argv, char*** envp, int glob, StartupInfo* info);
void __cdecl __set_app_type(int type);
char** __cdecl __p__acmdln(void);
void __cdecl __main(void);
void _pei386_runtime_relocator(void);
int main(int argc, char** argv, char** envp);

extern IMAGE_DOS_HEADER __ImageBase;
/* Thread-local storage support of the MinGW runtime, kept as its start-up has
   it: the callback ends the runtime's per-thread data on the NT family. */
extern const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback;
extern int __mingw_initltsdrot_force, __mingw_initltsdyn_force, __mingw_initltssuo_force;

HINSTANCE __mingw_winmain_hInstance;
LPSTR __mingw_winmain_lpCmdLine;
DWORD __mingw_winmain_nShowCmd = SW_SHOWDEFAULT;

enum { kConsoleApp = 1, kGuiApp = 2 };

/* The command line after the program's name (which may be quoted) and the
   blanks that follow it. Bytes above 127 belong to the name. */
static LPSTR CommandTail(LPSTR p)
{
    int quoted = 0;
    while ((unsigned char)*p > ' ' || (*p && quoted)) {
        if (*p == '"')
            quoted = !quoted;
        ++p;
    }
    while (*p && (unsigned char)*p <= ' ')
        ++p;
    return p;
}

static int Start(int appType)
{
    int argc = 0;
    char** argv = NULL;
    char** envp = NULL;
    StartupInfo info = {0};
    STARTUPINFOA startup;

    __set_app_type(appType);
    __getmainargs(&argc, &argv, &envp, 0, &info);
    __mingw_initltsdrot_force = __mingw_initltsdyn_force = __mingw_initltssuo_force = 1;
    if (__dyn_tls_init_callback)
        __dyn_tls_init_callback(NULL, DLL_THREAD_ATTACH, NULL);
    _pei386_runtime_relocator();
    _fpreset();
    __main();

    __mingw_winmain_hInstance = (HINSTANCE)&__ImageBase;
    __mingw_winmain_lpCmdLine = CommandTail(*__p__acmdln());
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW)
        __mingw_winmain_nShowCmd = startup.wShowWindow;
    exit(main(argc, argv, envp));
    return 0;
}

/* The system calls the entry points with the stack aligned to 4 bytes only. */
__attribute__((force_align_arg_pointer)) int WinMainCRTStartup(void)
{
    return Start(kGuiApp);
}

__attribute__((force_align_arg_pointer)) int mainCRTStartup(void)
{
    return Start(kConsoleApp);
}

/* The process's exit list is msvcrt's own. */
int __cdecl atexit(void (*function)(void))
{
    return _onexit((_onexit_t)function) ? 0 : -1;
}
