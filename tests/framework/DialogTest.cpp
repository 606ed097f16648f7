#include "framework/Dialog.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TestDialog : CDialog {
    explicit TestDialog(HWND parent = nullptr) : CDialog(200, parent) {}
    int createResult = 0;
    std::vector<std::string> steps;
    RECT shown = {};
    int ticks = 0;

    int OnCreate() override
    {
        steps.push_back(m_hWnd ? "create" : "create-without-window");
        return createResult;
    }
    BOOL OnInitDialog() override
    {
        steps.push_back(::GetDlgItem(m_hWnd, 1006) ? "init" : "init-without-controls");
        // Ends the dialog once the modal loop has gone idle and shown it, or
        // after five seconds without that (a loaded machine may take a while).
        ::SetTimer(m_hWnd, 1, 100, nullptr);
        return TRUE;
    }
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg != WM_TIMER)
            return false;
        *result = 0;
        if (!::IsWindowVisible(m_hWnd) && ++ticks < 50)
            return true;
        ::KillTimer(m_hWnd, 1);
        ::GetWindowRect(m_hWnd, &shown);
        steps.push_back(::IsWindowVisible(m_hWnd) ? "visible" : "hidden");
        EndDialog(77);
        return true;
    }
};

POINT Centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

TEST(Dialog, RunsModallyFromCreationToItsResultAndCentresOnTheWorkArea)
{
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.steps, (std::vector<std::string>{"create", "init", "visible"}));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    RECT area;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    POINT c = Centre(dlg.shown), a = Centre(area);
    EXPECT_LE(std::abs(c.x - a.x), 1);
    EXPECT_LE(std::abs(c.y - a.y), 1);
}

TEST(Dialog, AnOwnedDialogIsCentredOverItsOwner)
{
    HostWindow owner;
    ::MoveWindow(owner.hWnd, 50, 60, 500, 300, TRUE);
    TestDialog dlg(owner.hWnd);
    EXPECT_EQ(dlg.DoModal(), 77);
    RECT rc;
    ::GetWindowRect(owner.hWnd, &rc);
    POINT c = Centre(dlg.shown), o = Centre(rc);
    EXPECT_LE(std::abs(c.x - o.x), 1);
    EXPECT_LE(std::abs(c.y - o.y), 1);
}

// SPI_GETWORKAREA as NT 3.51 answers it, leaving the rectangle unset.
BOOL WINAPI NoWorkArea(UINT, UINT, PVOID data, UINT)
{
    *static_cast<RECT*>(data) = RECT{-30000, -30000, -29000, -29000};
    return FALSE;
}

TEST(Dialog, WithoutAWorkAreaADialogIsCentredOnTheScreen)
{
    HostWindow window;
    ::MoveWindow(window.hWnd, 10, 20, 300, 200, FALSE);
    CenterWindowOver(window.hWnd, nullptr, NoWorkArea);
    RECT rc;
    ::GetWindowRect(window.hWnd, &rc);
    POINT c = Centre(rc);
    EXPECT_LE(std::abs(c.x - ::GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs(c.y - ::GetSystemMetrics(SM_CYSCREEN) / 2), 1);
    EXPECT_EQ(rc.right - rc.left, 300);
}

TEST(Dialog, RefusingCreationEndsDoModalAtOnce)
{
    TestDialog dlg;
    dlg.createResult = -1;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.steps, std::vector<std::string>{"create"});
}

} // namespace
