// Wide-character kernel calls of the C++ runtime, carried out by their ANSI
// versions. Linked only into the shipped files (see cmake/ShippedRuntime.cmake).
#include "framework/AnsiImports.h"

namespace {

// Converts a name for an ANSI call. Fails, with ERROR_NO_UNICODE_TRANSLATION,
// rather than pass on a name whose characters the ANSI code page lacks: a
// best-fit substitute could name another object or file.
bool ToAnsi(LPCWSTR name, char (&out)[MAX_PATH])
{
    BOOL defaulted = FALSE;
    if (::WideCharToMultiByte(CP_ACP, 0, name, -1, out, MAX_PATH, nullptr, &defaulted) == 0)
        return false; // too long, or not a string
    if (defaulted) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    return true;
}

} // namespace

extern "C" {

HANDLE WINAPI AnsiCreateSemaphoreW(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG maximum, LPCWSTR name)
{
    if (!name)
        return ::CreateSemaphoreA(sa, initial, maximum, nullptr);
    char ansi[MAX_PATH];
    return ToAnsi(name, ansi) ? ::CreateSemaphoreA(sa, initial, maximum, ansi) : nullptr;
}

HMODULE WINAPI AnsiGetModuleHandleW(LPCWSTR name)
{
    if (!name)
        return ::GetModuleHandleA(nullptr);
    char ansi[MAX_PATH];
    return ToAnsi(name, ansi) ? ::GetModuleHandleA(ansi) : nullptr;
}

HMODULE WINAPI AnsiLoadLibraryW(LPCWSTR name)
{
    if (!name) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    char ansi[MAX_PATH];
    return ToAnsi(name, ansi) ? ::LoadLibraryA(ansi) : nullptr;
}

// The import slots that the runtime's calls go through. Defined here, they keep
// the linker from taking the kernel32 entries of the same names.
void* imp_CreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void*>(&AnsiCreateSemaphoreW);
void* imp_GetModuleHandleW __asm__("__imp__GetModuleHandleW@4") =
    reinterpret_cast<void*>(&AnsiGetModuleHandleW);
void* imp_LoadLibraryW __asm__("__imp__LoadLibraryW@4") = reinterpret_cast<void*>(&AnsiLoadLibraryW);
}
