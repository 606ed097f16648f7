// Registry helpers for tests, on the test prefix's own registry.
#pragma once
#include <windows.h>
#include <string>

// Whole key trees; a missing key is no error.
void DeleteKeyTree(HKEY root, const std::string& subKey);
bool KeyExists(HKEY root, const std::string& subKey);

void SetString(HKEY root, const std::string& subKey, const std::string& name, const std::string& value);
void SetDword(HKEY root, const std::string& subKey, const std::string& name, DWORD value);
void DeleteValue(HKEY root, const std::string& subKey, const std::string& name);

// Value of any type: false when it cannot be read.
bool ReadValue(HKEY root, const std::string& subKey, const std::string& name, DWORD* type,
               std::string* data);
std::string ReadString(HKEY root, const std::string& subKey, const std::string& name,
                       const std::string& fallback = "<missing>");

extern const char kShellFoldersKey[];
