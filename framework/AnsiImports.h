// ANSI stand-ins for the wide-character kernel calls that the C++ runtime
// makes (libgcc's thread primitives, the CRT's rand_s). Windows 95 exports
// those calls only as stubs that fail; AnsiImports.cpp puts these functions in
// their import slots, so that a file linked with it imports no wide call.
#pragma once
#include <windows.h>

extern "C" {
HANDLE WINAPI AnsiCreateSemaphoreW(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG maximum, LPCWSTR name);
HMODULE WINAPI AnsiGetModuleHandleW(LPCWSTR name);
HMODULE WINAPI AnsiLoadLibraryW(LPCWSTR name);
}
