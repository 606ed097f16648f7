/* Pseudo-relocations of the shipped files, in place of MinGW's relocator
   (compiled for the Pentium Pro): the linker lists there the references to
   another DLL's data that it could not route through the import table, and
   start-up adds each imported address to its reference. The list is in the
   linker's second format: a header 0, 0, 1, then per reference the import slot
   and the referring field (offsets from the image base) and the field's width
   in bits. Neither shipped file has one today; an entry that cannot be applied
   ends the process rather than leave a wrong address. */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

extern IMAGE_DOS_HEADER __ImageBase;
extern const DWORD __RUNTIME_PSEUDO_RELOC_LIST__[];
extern const DWORD __RUNTIME_PSEUDO_RELOC_LIST_END__[];

static void Write(void* field, const void* value, size_t size)
{
    DWORD old;
    if (!VirtualProtect(field, size, PAGE_EXECUTE_READWRITE, &old))
        abort();
    memcpy(field, value, size);
    VirtualProtect(field, size, old, &old);
}

static INT_PTR ReadSigned(const void* field, size_t size)
{
    switch (size) {
    case 1:
        return *(const signed char*)field;
    case 2:
        return *(const short*)field;
    case 4:
        return *(const INT32*)field;
    default:
        return *(const INT_PTR*)field;
    }
}

void _pei386_runtime_relocator(void)
{
    static int done;
    char* base = (char*)&__ImageBase;
    const DWORD* entry = __RUNTIME_PSEUDO_RELOC_LIST__;
    const DWORD* end = __RUNTIME_PSEUDO_RELOC_LIST_END__;

    if (done)
        return;
    done = 1;
    if (end - entry < 3)
        return;
    if (entry[0] != 0 || entry[1] != 0 || entry[2] != 1)
        abort();
    for (entry += 3; end - entry >= 3; entry += 3) {
        INT_PTR* slot = (INT_PTR*)(base + entry[0]);
        char* field = base + entry[1];
        size_t size = (entry[2] & 0xFF) / 8;
        INT_PTR value;
        if (size != 1 && size != 2 && size != 4 && size != sizeof(INT_PTR))
            abort();
        /* The field holds the slot's address plus an addend. */
        value = ReadSigned(field, size) - (INT_PTR)slot + *slot;
        if (ReadSigned(&value, size) != value)
            abort();
        /* Little-endian: the field takes the low bytes. */
        Write(field, &value, size);
    }
}
