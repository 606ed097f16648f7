#include "controls/LogEdit.h"
#include "framework/Thread.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LogEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pane.SubclassWindow(host.hEdit));
        pane.SetFixedRect(RECT{26, 226, 258, 361});
    }
    std::string Text() const { return WindowText(host.hEdit); }

    HostWindow host;
    CLogEdit pane;
};

TEST_F(LogEditTest, AppendsVerbatimAndShowsTheLastLine)
{
    pane.AppendText("abc");
    EXPECT_EQ(Text(), "abc");
    pane.AppendText("\r\n");
    pane.AppendText("def");
    EXPECT_EQ(Text(), "abc\r\ndef");
    EXPECT_EQ(::SendMessageA(host.hEdit, EM_GETLINECOUNT, 0, 0), 2);

    // Many lines in a short pane: the view follows the end.
    for (int i = 0; i < 40; ++i)
        pane.AppendText("line\r\n");
    LRESULT lines = ::SendMessageA(host.hEdit, EM_GETLINECOUNT, 0, 0);
    LRESULT first = ::SendMessageA(host.hEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(first, 30);
    EXPECT_LE(first, lines - 1);
}

TEST_F(LogEditTest, TypedCharactersAndClipboardKeysChangeNothing)
{
    pane.AppendText("keep");
    for (WPARAM ch :
         {WPARAM('x'), WPARAM('\b'), WPARAM(0x16 /* Ctrl+V */), WPARAM(0x18 /* Ctrl+X */), WPARAM('\r')})
        ::SendMessageA(host.hEdit, WM_CHAR, ch, 1);
    EXPECT_EQ(Text(), "keep");
}

TEST_F(LogEditTest, HandsTheFocusBackToTheWindowThatHadIt)
{
    ::SetFocus(host.hButton);
    ASSERT_EQ(::GetFocus(), host.hButton);
    ::SetFocus(host.hEdit);
    EXPECT_EQ(::GetFocus(), host.hButton);

    // A click into the pane does the same.
    ::SendMessageA(host.hEdit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageA(host.hEdit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(::GetFocus(), host.hButton);
}

TEST_F(LogEditTest, AnyResizeOrMoveSnapsBackToTheFixedRectangle)
{
    ::MoveWindow(host.hEdit, 0, 0, 50, 20, TRUE);
    ::SetWindowPos(host.hEdit, nullptr, 3, 3, 400, 400, SWP_NOZORDER);
    RECT rc;
    ::GetWindowRect(host.hEdit, &rc);
    ::MapWindowPoints(nullptr, host.hWnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 26);
    EXPECT_EQ(rc.top, 226);
    EXPECT_EQ(rc.right, 258);
    EXPECT_EQ(rc.bottom, 361);
}

struct Writer {
    CLogEdit* pane;
    int from;
    volatile LONG done;
};

UINT WriteLines(LPVOID p)
{
    auto* w = static_cast<Writer*>(p);
    for (int i = 0; i < 50; ++i)
        w->pane->AppendText(std::to_string(w->from + i) + "\r\n");
    ::InterlockedExchange(&w->done, 1);
    return 0;
}

TEST_F(LogEditTest, AppendsFromTwoWorkersWhileThisThreadPumpsLoseNothing)
{
    Writer a{&pane, 0, 0};
    Writer b{&pane, 1000, 0};
    ASSERT_TRUE(AfxBeginThread(WriteLines, &a));
    ASSERT_TRUE(AfxBeginThread(WriteLines, &b));
    ASSERT_TRUE(PumpUntil([&] { return a.done && b.done; }));
    // Whole lines, so that one writer's "1000" cannot stand in for the
    // other's "0": each writer's lines once each and in its own order.
    std::vector<int> fromA, fromB;
    std::string text = Text();
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        int n = std::stoi(text.substr(at, end - at));
        (n < 1000 ? fromA : fromB).push_back(n);
    }
    std::vector<int> wantA, wantB;
    for (int i = 0; i < 50; ++i) {
        wantA.push_back(i);
        wantB.push_back(1000 + i);
    }
    EXPECT_EQ(fromA, wantA);
    EXPECT_EQ(fromB, wantB);
    EXPECT_EQ(::SendMessageA(host.hEdit, EM_GETLINECOUNT, 0, 0), 101);
}

TEST_F(LogEditTest, UnsubclassesItselfWhenTheWindowGoesAway)
{
    ::DestroyWindow(host.hEdit);
    EXPECT_EQ(pane.m_hWnd, nullptr);
    // Nothing is sent to the handle that is gone.
    ::SetLastError(ERROR_SUCCESS);
    pane.AppendText("nowhere");
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

} // namespace
