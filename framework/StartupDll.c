/* Entry point of the shipped DLL, in place of MinGW's dllcrt2.o, which links
   the runtime's thread-local storage support: the Windows 95 family refuses to
   load a DLL with a thread-local storage directory through LoadLibrary, which
   is how the system brings a hook's DLL into other processes. Applies
   pseudo-relocations and runs the static constructors before DllMain sees the
   process, and the atexit functions (static destructors among them), latest
   first, when the DLL leaves the process or refuses it. */
#include <windows.h>

#include <stdlib.h>

void __cdecl __main(void);
void _pei386_runtime_relocator(void);
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

typedef void(__cdecl* ExitFunction)(void);

/* Touched only while the loader holds its lock. */
static ExitFunction* s_exits;
static size_t s_exitCount, s_exitCapacity;

int __cdecl atexit(ExitFunction function)
{
    if (s_exitCount == s_exitCapacity) {
        size_t capacity = s_exitCapacity ? 2 * s_exitCapacity : 8;
        ExitFunction* grown = (ExitFunction*)realloc(s_exits, capacity * sizeof(*grown));
        if (!grown)
            return -1;
        s_exits = grown;
        s_exitCapacity = capacity;
    }
    s_exits[s_exitCount++] = function;
    return 0;
}

static void RunExits(void)
{
    while (s_exitCount)
        s_exits[--s_exitCount]();
    free(s_exits);
    s_exits = NULL;
    s_exitCapacity = 0;
}

__attribute__((force_align_arg_pointer)) BOOL WINAPI DllMainCRTStartup(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    BOOL ok;
    if (reason == DLL_PROCESS_ATTACH) {
        _pei386_runtime_relocator();
        __main();
    }
    ok = DllMain(module, reason, reserved);
    if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !ok))
        RunExits();
    return ok;
}
