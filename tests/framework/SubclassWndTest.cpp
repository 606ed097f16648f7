#include "framework/SubclassWnd.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

namespace {

struct Upper : CSubclassWnd {
    int seen = 0;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        ++seen;
        if (msg == WM_SETTEXT) {
            // Changes what the control gets, then lets the control handle it.
            std::string text = reinterpret_cast<const char*>(lp);
            for (char& c : text)
                c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
            return Default(msg, wp, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return Default(msg, wp, lp);
    }
};

// With comctl32's helpers, and with the window procedure replaced directly as
// on systems whose comctl32 lacks them.
class SubclassWnd : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { CSubclassWnd::UseWindowProcedureOnly(GetParam()); }
    void TearDown() override { CSubclassWnd::UseWindowProcedureOnly(false); }
};

TEST_P(SubclassWnd, MessagesPassThroughTheObjectAndOnToTheControl)
{
    HostWindow host;
    LONG_PTR before = ::GetWindowLongPtrA(host.hEdit, GWLP_WNDPROC);
    {
        Upper edit;
        ASSERT_TRUE(edit.SubclassWindow(host.hEdit));
        EXPECT_FALSE(edit.SubclassWindow(host.hEdit)); // once per object
        ::SetWindowTextA(host.hEdit, "shout");
        EXPECT_EQ(WindowText(host.hEdit), "SHOUT");
        EXPECT_GT(edit.seen, 0);
        edit.UnsubclassWindow();
        ::SetWindowTextA(host.hEdit, "quiet");
        EXPECT_EQ(WindowText(host.hEdit), "quiet");
        EXPECT_EQ(::GetWindowLongPtrA(host.hEdit, GWLP_WNDPROC), before);
        ASSERT_TRUE(edit.SubclassWindow(host.hEdit));
    } // the object goes first: the control keeps working without it
    ::SetWindowTextA(host.hEdit, "after");
    EXPECT_EQ(WindowText(host.hEdit), "after");
}

TEST_P(SubclassWnd, TheObjectLetsGoWhenTheWindowIsDestroyed)
{
    HostWindow host;
    Upper edit;
    ASSERT_TRUE(edit.SubclassWindow(host.hEdit));
    ::DestroyWindow(host.hEdit);
    EXPECT_EQ(edit.m_hWnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Both, SubclassWnd, ::testing::Values(false, true));

} // namespace
