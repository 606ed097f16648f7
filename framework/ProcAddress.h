// Functions looked up at run time, where an old system lacks them. A lookup is
// typed by the system's own declaration where the headers have one, so its
// calling convention comes from the compiler: a mismatch would corrupt the
// stack of the 32-bit program, and the single x86-64 convention never shows it.
#pragma once

#include <windows.h>

#include <type_traits>

template <class Fn> Fn ProcAddress(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// The function's own type; decltype does not evaluate, so nothing is imported.
#define DECLARED_PROC(module, name) ProcAddress<decltype(&::name)>(module, #name)

// A pointer type written by hand, checked against the declaration.
#define CHECK_PROC_TYPE(Fn, name) \
    static_assert(std::is_same<Fn, decltype(&::name)>::value, #name " is typed as declared")
