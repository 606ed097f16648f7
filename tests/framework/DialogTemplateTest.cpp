#include "framework/DialogTemplate.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

namespace {

INT_PTR CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::string FontFace(HWND hWnd)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    ::GetObjectA(font, sizeof(lf), &lf);
    return lf.lfFaceName;
}

TEST(DialogTemplate, AnotherFontKeepsEveryControl)
{
    std::vector<BYTE> original = LoadDialogTemplate(200);
    ASSERT_FALSE(original.empty());
    std::vector<BYTE> changed = DialogTemplateWithFont(original, 12, L"Courier New");
    ASSERT_FALSE(changed.empty());
    HWND dlg = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEA>(changed.data()), nullptr, NoProc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(FontFace(dlg), "Courier New");
    EXPECT_EQ(WindowText(dlg), "Test dialog");
    EXPECT_NE(::GetDlgItem(dlg, 1006), nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dlg, IDOK)), "OK");
    // A larger font makes larger controls: the units followed the font.
    HWND plain = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                              reinterpret_cast<LPCDLGTEMPLATEA>(original.data()), nullptr, NoProc, 0);
    RECT a, b;
    ::GetWindowRect(::GetDlgItem(dlg, IDOK), &a);
    ::GetWindowRect(::GetDlgItem(plain, IDOK), &b);
    EXPECT_GT(a.right - a.left, b.right - b.left);
    ::DestroyWindow(dlg);
    ::DestroyWindow(plain);
}

TEST(DialogTemplate, AnythingButAWholeExtendedTemplateGivesNothing)
{
    std::vector<BYTE> original = LoadDialogTemplate(200);
    EXPECT_TRUE(DialogTemplateWithFont(original.data(), 20, 8, L"X").empty());
    std::vector<BYTE> old(original);
    old[2] = 0; // no extended signature
    EXPECT_TRUE(DialogTemplateWithFont(old, 8, L"X").empty());
    EXPECT_TRUE(LoadDialogTemplate(4321).empty());
}

} // namespace
