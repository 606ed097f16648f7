#include "framework/Thread.h"

#include <process.h>

namespace {

struct StartBlock {
    AFX_THREADPROC proc;
    LPVOID param;
};

unsigned __stdcall ThreadEntry(void* p)
{
    StartBlock block = *static_cast<StartBlock*>(p);
    delete static_cast<StartBlock*>(p);
    try {
        return block.proc(block.param);
    } catch (...) {
        return 0;
    }
}

} // namespace

bool AfxBeginThread(AFX_THREADPROC proc, LPVOID param, DWORD* threadId, HANDLE* thread)
{
    auto* block = new StartBlock{proc, param};
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, ThreadEntry, block, 0, &id);
    if (!h) {
        delete block;
        return false;
    }
    if (thread)
        *thread = reinterpret_cast<HANDLE>(h);
    else
        ::CloseHandle(reinterpret_cast<HANDLE>(h));
    if (threadId)
        *threadId = id;
    return true;
}

void PumpMessagesUntil(const std::function<bool()>& done)
{
    bool quit = false;
    int quitCode = 0;
    while (!done()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    // A quit seen meanwhile belongs to the loop that owns this thread.
    if (quit)
        ::PostQuitMessage(quitCode);
}
