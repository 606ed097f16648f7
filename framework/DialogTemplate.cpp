#include "framework/DialogTemplate.h"

#include <cstring>
#include <cwchar>

namespace {

// Length in bytes of a menu, class or title field: empty, ordinal or string.
size_t FieldSize(const BYTE* p, const BYTE* end)
{
    if (p + 2 > end)
        return 0;
    WORD first;
    std::memcpy(&first, p, 2);
    if (first == 0x0000)
        return 2;
    if (first == 0xFFFF)
        return 4;
    for (const BYTE* q = p; q + 2 <= end; q += 2)
        if (q[0] == 0 && q[1] == 0)
            return static_cast<size_t>(q - p) + 2;
    return 0;
}

size_t Align4(size_t n)
{
    return (n + 3) & ~size_t(3);
}

} // namespace

std::vector<BYTE> DialogTemplateWithFont(const BYTE* data, size_t size, WORD pointSize, const wchar_t* face)
{
    // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems,
    // x, y, cx, cy, then menu, class, title, and the font when DS_SETFONT.
    const size_t header = 2 + 2 + 4 + 4 + 4 + 2 + 4 * 2;
    if (!data || size < header || data[0] != 1 || data[1] != 0 || data[2] != 0xFF || data[3] != 0xFF)
        return {};
    const BYTE* end = data + size;
    DWORD style;
    std::memcpy(&style, data + 12, 4);
    size_t at = header;
    for (int field = 0; field < 3; ++field) {
        size_t n = FieldSize(data + at, end);
        if (!n)
            return {};
        at += n;
    }
    const size_t fontAt = at; // point size, weight, italic, character set, face
    size_t itemsAt = at;
    if (style & DS_SETFONT) {
        size_t faceAt = fontAt + 2 + 2 + 1 + 1;
        size_t n = faceAt < size ? FieldSize(data + faceAt, end) : 0;
        if (!n)
            return {};
        itemsAt = faceAt + n;
    }
    itemsAt = Align4(itemsAt);
    if (itemsAt > size)
        return {};

    std::vector<BYTE> out(data, data + fontAt);
    style |= DS_SETFONT;
    std::memcpy(out.data() + 12, &style, 4);
    WORD weight = FW_NORMAL;
    out.insert(out.end(), reinterpret_cast<const BYTE*>(&pointSize), reinterpret_cast<const BYTE*>(&pointSize) + 2);
    out.insert(out.end(), reinterpret_cast<const BYTE*>(&weight), reinterpret_cast<const BYTE*>(&weight) + 2);
    out.push_back(0); // not italic
    out.push_back(DEFAULT_CHARSET);
    const BYTE* faceBytes = reinterpret_cast<const BYTE*>(face);
    out.insert(out.end(), faceBytes, faceBytes + (std::wcslen(face) + 1) * sizeof(wchar_t));
    out.resize(Align4(out.size()), 0);
    // The controls start on a DWORD boundary in both, so their own alignment holds.
    out.insert(out.end(), data + itemsAt, end);
    return out;
}

std::vector<BYTE> LoadDialogTemplate(UINT id)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL loaded = res ? ::LoadResource(module, res) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return {};
    return std::vector<BYTE>(bytes, bytes + ::SizeofResource(module, res));
}
