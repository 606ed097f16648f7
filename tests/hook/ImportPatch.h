// Redirects a module's imported functions, so that a test can count the calls
// a library makes (allocations, for one).
#pragma once
#include <windows.h>

// Points every import of `function` from `dll` (case-insensitive) in module's
// import table at replacement. Returns how many entries were changed and the
// previous target in *original (unchanged when none).
int PatchImport(HMODULE module, const char* dll, const char* function, void* replacement, void** original);

// Counts the allocation calls that module makes through the C runtime and the
// heap functions while an instance lives.
class AllocationCounter {
public:
    explicit AllocationCounter(HMODULE module);
    ~AllocationCounter();
    // Import entries redirected: zero means nothing could be counted.
    int Patched() const { return m_patched; }
    static long Count();

private:
    HMODULE m_module;
    int m_patched = 0;
};
