// Scratch folders for tests: everything a test creates or lets a cleaner touch
// lies under drive S:, which maps to a folder of the build tree.
#pragma once
#include <string>
#include <vector>

// "S:\<name>", emptied and created anew. Aborts the test program for names
// that would lead outside S:.
std::string FreshScratch(const std::string& name);

// True when path lies strictly below S:\.
bool IsUnderScratch(const std::string& path);

// Creating and inspecting files.
void WriteFile(const std::string& path, const std::string& content = "x");
void MakeDir(const std::string& path);
bool Exists(const std::string& path);
// Names directly inside folder, sorted, without "." and "..".
std::vector<std::string> ListDir(const std::string& folder);

// Removes a scratch tree for test setup (never used on anything outside S:).
void RemoveScratchTree(const std::string& path);
