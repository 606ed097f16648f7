// Extended dialog templates (DIALOGEX) in memory.
#pragma once
#include <windows.h>
#include <vector>

// A copy of an extended dialog template whose font is pointSize and face,
// normal weight; every control is kept as it was. Empty when the template is
// not an extended one or is cut short.
std::vector<BYTE> DialogTemplateWithFont(const BYTE* data, size_t size, WORD pointSize, const wchar_t* face);
inline std::vector<BYTE> DialogTemplateWithFont(const std::vector<BYTE>& t, WORD pointSize, const wchar_t* face)
{
    return DialogTemplateWithFont(t.data(), t.size(), pointSize, face);
}

// The program's template resource id, or empty when it is missing.
std::vector<BYTE> LoadDialogTemplate(UINT id);
