// Stand-ins for kernel calls of the C++ runtime: its wide-character calls
// (libgcc's thread primitives, the CRT's rand_s), which Windows 95 exports only
// as stubs that fail, carried out by their ANSI versions; and IsDBCSLeadByteEx
// (the CRT's mbrtowc) answered from GetCPInfo. AnsiImports.cpp puts them in the
// import slots of those calls, so that a file linked with it imports none.
#pragma once
#include <windows.h>

extern "C" {
HANDLE WINAPI AnsiCreateSemaphoreW(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG maximum, LPCWSTR name);
HMODULE WINAPI AnsiGetModuleHandleW(LPCWSTR name);
HMODULE WINAPI AnsiLoadLibraryW(LPCWSTR name);
BOOL WINAPI AnsiIsDBCSLeadByteEx(UINT codePage, BYTE c);
}
