#include "app/Workers.h"

#include <algorithm>

CWorkers::~CWorkers()
{
    EndAll();
}

bool CWorkers::Start(AFX_THREADPROC proc, LPVOID param, bool isSheet)
{
    if (m_bEnded)
        return false;
    // Forget the workers that have ended.
    auto ended = [this](HANDLE h) {
        if (::WaitForSingleObject(h, 0) == WAIT_TIMEOUT)
            return false;
        if (h == m_hSheet)
            m_hSheet = nullptr;
        ::CloseHandle(h);
        return true;
    };
    m_threads.erase(std::remove_if(m_threads.begin(), m_threads.end(), ended), m_threads.end());
    HANDLE h = nullptr;
    DWORD id = 0;
    if (!AfxBeginThread(proc, param, &id, &h))
        return false;
    m_threads.push_back(h);
    if (isSheet) {
        m_hSheet = h;
        m_nSheetId = id;
    }
    return true;
}

bool CWorkers::SheetOpen() const
{
    return m_hSheet && ::WaitForSingleObject(m_hSheet, 0) == WAIT_TIMEOUT;
}

void CWorkers::EndAll()
{
    m_bEnded = true;
    // Help and Min finish their work; the window goes on serving what they
    // send it.
    PumpMessagesUntil([this] {
        if (SheetOpen())
            ::PostThreadMessageA(m_nSheetId, WM_QUIT, 0, 0);
        return std::all_of(m_threads.begin(), m_threads.end(),
                           [](HANDLE h) { return ::WaitForSingleObject(h, 0) != WAIT_TIMEOUT; });
    });
    for (HANDLE h : m_threads)
        ::CloseHandle(h);
    m_threads.clear();
    m_hSheet = nullptr;
}
