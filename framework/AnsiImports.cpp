// Kernel calls of the C++ runtime carried out with calls that every target
// system has. Linked only into the shipped files (see cmake/ShippedRuntime.cmake).
#include "framework/AnsiImports.h"

namespace {

// Converts a name for an ANSI call. Fails, with ERROR_NO_UNICODE_TRANSLATION,
// unless the ANSI name converts back to the same wide name: a best-fit or
// default substitute ("k" for the full-width U+FF4B) would name another object
// or file.
bool ToAnsi(LPCWSTR name, char (&out)[MAX_PATH])
{
    WCHAR back[MAX_PATH];
    if (::WideCharToMultiByte(CP_ACP, 0, name, -1, out, MAX_PATH, nullptr, nullptr) == 0 ||
        ::MultiByteToWideChar(CP_ACP, 0, out, -1, back, MAX_PATH) == 0)
        return false; // too long
    for (int i = 0;; ++i) {
        if (back[i] != name[i]) {
            ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return false;
        }
        if (!name[i])
            return true;
    }
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

BOOL WINAPI AnsiIsDBCSLeadByteEx(UINT codePage, BYTE c)
{
    CPINFO info;
    if (!::GetCPInfo(codePage, &info))
        return FALSE;
    // Pairs of inclusive lead-byte ranges, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2) {
        if (c >= info.LeadByte[i] && c <= info.LeadByte[i + 1])
            return TRUE;
    }
    return FALSE;
}

// The import slots that the runtime's calls go through. Defined here, they keep
// the linker from taking the kernel32 entries of the same names.
void* imp_CreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void*>(&AnsiCreateSemaphoreW);
void* imp_GetModuleHandleW __asm__("__imp__GetModuleHandleW@4") =
    reinterpret_cast<void*>(&AnsiGetModuleHandleW);
void* imp_LoadLibraryW __asm__("__imp__LoadLibraryW@4") = reinterpret_cast<void*>(&AnsiLoadLibraryW);
void* imp_IsDBCSLeadByteEx __asm__("__imp__IsDBCSLeadByteEx@8") =
    reinterpret_cast<void*>(&AnsiIsDBCSLeadByteEx);
}
