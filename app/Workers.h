// The main window's workers (the settings sheet, Help, Min): started here,
// forgotten once ended, and waited for, pumping, before the program ends.
#pragma once
#include "framework/Thread.h"

#include <vector>

class CWorkers {
public:
    CWorkers() = default;
    ~CWorkers();
    CWorkers(const CWorkers&) = delete;
    CWorkers& operator=(const CWorkers&) = delete;

    // False when no thread started, or after EndAll. The sheet's thread is
    // kept by its id too, to end it.
    bool Start(AFX_THREADPROC proc, LPVOID param, bool isSheet = false);
    bool SheetOpen() const;
    // Ends the sheet as Cancel ends it (its modal loops, a page's message box
    // too, stop at WM_QUIT; it hands its folder list back) and waits, pumping,
    // for every worker; from then on none starts.
    void EndAll();

private:
    std::vector<HANDLE> m_threads;
    HANDLE m_hSheet = nullptr; // one of m_threads
    DWORD m_nSheetId = 0;
    bool m_bEnded = false;
};
