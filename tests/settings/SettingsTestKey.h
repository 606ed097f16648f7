// Shared by the settings store tests: the settings key, emptied around each
// test, and a look at what a load left behind. A test program that links this
// ends with exit code 99 when it shows a message box, since a registry failure
// would otherwise wait for a click that never comes.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

#include <gtest/gtest.h>

#include "settings/CleanSettings.h"

extern const char kSettingsParent[];

// Removes "Software\Brightsweep1.0" before and after each test.
class SettingsKeyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Value names of the settings key, sorted case-insensitively.
std::vector<std::string> SettingValueNames();
std::string Stored(const char* name);
void Store(const char* name, const std::string& text);
// Content, Mode and HotKey all well-formed and away from their defaults.
void StoreValidTriple();

// Every field in its documented range and keyCount agreeing with modifier.
::testing::AssertionResult IsValidRecord(const SettingValues& values);
bool SameValues(const SettingValues& a, const SettingValues& b);

// Runs work on a thread of its own and waits for it: work that has not ended
// within limitMs (a load that never ends, not a slow one) fails the test and
// ends the program, since the thread cannot be stopped.
void EndsWithin(DWORD limitMs, const std::function<void()>& work);
