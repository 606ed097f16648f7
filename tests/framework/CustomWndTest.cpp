#include "framework/CustomWnd.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder : CCustomWnd {
    std::vector<UINT> seen;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        seen.push_back(msg);
        if (msg == WM_USER + 5)
            return 42;
        return Default(msg, wp, lp);
    }
};

TEST(CustomWnd, TheObjectSeesMessagesFromCreationToDestruction)
{
    HostWindow host;
    Recorder w;
    // One class for one set of arguments, and another for others.
    const std::string cls = AfxRegisterWndClass(0);
    EXPECT_EQ(AfxRegisterWndClass(0), cls);
    WNDCLASSA wc = {};
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), AfxRegisterWndClass(CS_DBLCLKS), &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_NE(wc.lpszClassName, cls);
    ASSERT_TRUE(w.CreateEx(0, cls.c_str(), "caption", WS_CHILD, RECT{0, 0, 30, 20}, host.hWnd, 0));
    ASSERT_FALSE(w.seen.empty());
    EXPECT_EQ(w.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(w.SendMessage(WM_USER + 5), 42);
    EXPECT_EQ(w.GetWindowText(), "caption");
    w.DestroyWindow();
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(w.seen.back(), static_cast<UINT>(WM_DESTROY));
}

TEST(CustomWnd, DestroyingTheObjectDestroysItsWindow)
{
    HostWindow host;
    HWND hWnd = nullptr;
    {
        Recorder w;
        ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD, RECT{0, 0, 5, 5}, host.hWnd, 0));
        hWnd = w.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

} // namespace
