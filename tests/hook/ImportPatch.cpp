#include "tests/hook/ImportPatch.h"

#include <cstdlib>

int PatchImport(HMODULE module, const char* dll, const char* function, void* replacement, void** original)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return 0;
    int patched = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0 || !imp->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) != 0)
                continue;
            DWORD old;
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            ++patched;
        }
    }
    return patched;
}

namespace {

volatile LONG g_count = 0;

typedef void*(__cdecl* MallocFn)(size_t);
typedef void*(__cdecl* CallocFn)(size_t, size_t);
typedef void*(__cdecl* ReallocFn)(void*, size_t);
typedef LPVOID(WINAPI* HeapAllocFn)(HANDLE, DWORD, SIZE_T);
typedef HLOCAL(WINAPI* LocalAllocFn)(UINT, SIZE_T);

MallocFn g_malloc = std::malloc;
CallocFn g_calloc = std::calloc;
ReallocFn g_realloc = std::realloc;
HeapAllocFn g_heapAlloc = ::HeapAlloc;
LocalAllocFn g_localAlloc = ::LocalAlloc;

void* __cdecl CountMalloc(size_t n)
{
    ::InterlockedIncrement(&g_count);
    return g_malloc(n);
}
void* __cdecl CountCalloc(size_t n, size_t size)
{
    ::InterlockedIncrement(&g_count);
    return g_calloc(n, size);
}
void* __cdecl CountRealloc(void* p, size_t n)
{
    ::InterlockedIncrement(&g_count);
    return g_realloc(p, n);
}
LPVOID WINAPI CountHeapAlloc(HANDLE heap, DWORD flags, SIZE_T n)
{
    ::InterlockedIncrement(&g_count);
    return g_heapAlloc(heap, flags, n);
}
HLOCAL WINAPI CountLocalAlloc(UINT flags, SIZE_T n)
{
    ::InterlockedIncrement(&g_count);
    return g_localAlloc(flags, n);
}

struct Hook {
    const char* dll;
    const char* function;
    void* replacement;
    void** original;
};

const Hook kHooks[] = {
    {"msvcrt.dll", "malloc", reinterpret_cast<void*>(CountMalloc), reinterpret_cast<void**>(&g_malloc)},
    {"msvcrt.dll", "calloc", reinterpret_cast<void*>(CountCalloc), reinterpret_cast<void**>(&g_calloc)},
    {"msvcrt.dll", "realloc", reinterpret_cast<void*>(CountRealloc), reinterpret_cast<void**>(&g_realloc)},
    {"kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(CountHeapAlloc), reinterpret_cast<void**>(&g_heapAlloc)},
    {"kernel32.dll", "LocalAlloc", reinterpret_cast<void*>(CountLocalAlloc),
     reinterpret_cast<void**>(&g_localAlloc)},
};

} // namespace

AllocationCounter::AllocationCounter(HMODULE module) : m_module(module)
{
    for (const Hook& h : kHooks)
        m_patched += PatchImport(module, h.dll, h.function, h.replacement, h.original);
}

AllocationCounter::~AllocationCounter()
{
    void* ignored;
    for (const Hook& h : kHooks)
        PatchImport(m_module, h.dll, h.function, *h.original, &ignored);
}

long AllocationCounter::Count()
{
    return g_count;
}
