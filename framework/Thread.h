// The one way the program starts a worker thread.
#pragma once
#include <windows.h>

typedef UINT (*AFX_THREADPROC)(LPVOID);

// Starts proc(param) on a new thread at normal priority with the default stack.
// The thread is not joined. Returns false when no thread could be started;
// *threadId, when given, receives the thread's id, and *thread its handle,
// which the caller then closes (else it is closed at once).
bool AfxBeginThread(AFX_THREADPROC proc, LPVOID param, DWORD* threadId = nullptr, HANDLE* thread = nullptr);

#include <functional>

// Dispatches this thread's messages until done() holds, so that workers that
// send messages to this thread's windows go on meanwhile. done() is checked at
// least every 20 ms.
void PumpMessagesUntil(const std::function<bool()>& done);
