// The ANSI stand-ins compared with the system's own wide-character calls,
// reached through GetProcAddress: linked into this program, the stand-ins also
// take the import slots of those calls.
#include "framework/AnsiImports.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename Fn> Fn Kernel32(const char* name)
{
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name)));
}

TEST(AnsiImportsTest, SemaphoresWorkUnnamedAndUnderTheirAnsiName)
{
    HANDLE unnamed = AnsiCreateSemaphoreW(nullptr, 0, 2, nullptr);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(::WaitForSingleObject(unnamed, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(::ReleaseSemaphore(unnamed, 2, nullptr));
    EXPECT_FALSE(::ReleaseSemaphore(unnamed, 1, nullptr)) << "the maximum was not passed on";
    EXPECT_EQ(::WaitForSingleObject(unnamed, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(unnamed);

    HANDLE named = AnsiCreateSemaphoreW(nullptr, 0, 1, L"BrightsweepAnsiImportsTest");
    ASSERT_NE(named, nullptr);
    HANDLE same = ::OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, "BrightsweepAnsiImportsTest");
    ASSERT_NE(same, nullptr);
    EXPECT_TRUE(::ReleaseSemaphore(same, 1, nullptr));
    EXPECT_EQ(::WaitForSingleObject(named, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(same);
    ::CloseHandle(named);
}

TEST(AnsiImportsTest, ModulesAreFoundAndLoadedAsByTheSystem)
{
    auto getModuleHandleW = Kernel32<HMODULE(WINAPI*)(LPCWSTR)>("GetModuleHandleW");
    auto loadLibraryW = Kernel32<HMODULE(WINAPI*)(LPCWSTR)>("LoadLibraryW");
    ASSERT_TRUE(getModuleHandleW && loadLibraryW);

    EXPECT_EQ(AnsiGetModuleHandleW(nullptr), getModuleHandleW(nullptr));
    EXPECT_EQ(AnsiGetModuleHandleW(L"KERNEL32.DLL"), getModuleHandleW(L"KERNEL32.DLL"));
    EXPECT_EQ(AnsiGetModuleHandleW(L"no-such-module.dll"), nullptr);

    HMODULE ours = AnsiLoadLibraryW(L"comctl32.dll");
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(ours, loadLibraryW(L"comctl32.dll"));
    ::FreeLibrary(ours);
    ::FreeLibrary(ours);
    EXPECT_EQ(AnsiLoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(AnsiLoadLibraryW(L"no-such-module.dll"), nullptr);
}

TEST(AnsiImportsTest, NamesTheCodePageCannotHoldAreRefusedNotSubstituted)
{
    // The code page best-fits the full-width "k" to "k" and has no CJK at all:
    // passed on, these would name kernel32 and "?.dll".
    const wchar_t* bestFit = L"\xFF4B"
                             L"ernel32.dll";
    const wchar_t* missing = L"\x4E2D.dll";
    auto getModuleHandleW = Kernel32<HMODULE(WINAPI*)(LPCWSTR)>("GetModuleHandleW");
    ASSERT_EQ(getModuleHandleW(bestFit), nullptr);

    ::SetLastError(0);
    EXPECT_EQ(AnsiGetModuleHandleW(bestFit), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(AnsiLoadLibraryW(bestFit), nullptr);
    EXPECT_EQ(AnsiLoadLibraryW(missing), nullptr);
    EXPECT_EQ(AnsiCreateSemaphoreW(nullptr, 0, 1, missing), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));

    // Longer than a path: refused, not cut short.
    std::wstring longName(MAX_PATH + 10, L'a');
    EXPECT_EQ(AnsiGetModuleHandleW(longName.c_str()), nullptr);
    EXPECT_EQ(AnsiCreateSemaphoreW(nullptr, 0, 1, longName.c_str()), nullptr);
}

TEST(AnsiImportsTest, LeadBytesMatchTheSystemInEveryCodePage)
{
    auto isLeadByteEx = Kernel32<BOOL(WINAPI*)(UINT, BYTE)>("IsDBCSLeadByteEx");
    ASSERT_NE(isLeadByteEx, nullptr);
    int leadBytes = 0;
    for (UINT cp : {0u, 1u, 437u, 850u, 932u, 936u, 949u, 950u, 1252u}) {
        for (int c = 0; c < 256; ++c) {
            BOOL expected = isLeadByteEx(cp, static_cast<BYTE>(c)) ? TRUE : FALSE;
            EXPECT_EQ(AnsiIsDBCSLeadByteEx(cp, static_cast<BYTE>(c)), expected)
                << "code page " << cp << " byte " << c;
            leadBytes += expected;
        }
    }
    EXPECT_GT(leadBytes, 4 * 100) << "the double-byte code pages were not there to compare";
    EXPECT_FALSE(AnsiIsDBCSLeadByteEx(12345, 0x81)) << "an unknown code page has no lead bytes";
}

} // namespace
