#include "framework/MessageBox.h"
#include "framework/Thread.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

namespace {

struct Job {
    HWND target;
    volatile LONG finished;
    LRESULT answer;
};

// Sends to a window of the waiting thread: only finishes if that thread pumps.
UINT SendToWindow(LPVOID p)
{
    auto* job = static_cast<Job*>(p);
    job->answer = ::SendMessageA(job->target, WM_GETTEXTLENGTH, 0, 0);
    ::InterlockedExchange(&job->finished, 1);
    return 0;
}

TEST(Thread, WaitingPumpsSoThatAWorkerSendingToThisThreadFinishes)
{
    HostWindow host;
    ::SetWindowTextA(host.hEdit, "hello");
    Job job{host.hEdit, 0, 0};
    ASSERT_TRUE(AfxBeginThread(SendToWindow, &job));
    PumpMessagesUntil([&] { return job.finished != 0; });
    EXPECT_EQ(job.answer, 5);
}

TEST(Thread, AQuitSeenWhileWaitingIsLeftForTheOwnerLoop)
{
    ::PostQuitMessage(7);
    int rounds = 0;
    PumpMessagesUntil([&] { return ++rounds > 3; });
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(MessageBox, CaptionIsTheProgramFilesBaseName)
{
    EXPECT_EQ(AfxGetAppName(), "framework_tests");
}

} // namespace
