#include "tests/hook/HookCopy.h"
#include "tests/support/Windows.h"

#include <string>

CopyProcess::CopyProcess()
{
    DWORD pid = 0;
    m_process = StartSibling("hook_copy.exe", "", &pid);
    if (!m_process)
        return;
    const std::string title = "hook copy " + std::to_string(pid);
    PumpUntil([&] { return (m_wnd = ::FindWindowA(kCopyClass, title.c_str())) != nullptr; }, 20000);
}

CopyProcess::~CopyProcess()
{
    if (!m_process)
        return;
    if (m_wnd)
        ::PostMessageA(m_wnd, WM_CLOSE, 0, 0);
    if (!PumpUntil([&] { return ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }, 5000))
        ::TerminateProcess(m_process, 1);
    ::CloseHandle(m_process);
}

LRESULT CopyProcess::Ask(UINT msg) const
{
    DWORD_PTR answer = 0;
    if (!m_wnd || !::SendMessageTimeoutA(m_wnd, msg, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer))
        return 0;
    return static_cast<LRESULT>(answer);
}

HHOOK CopyProcess::Install()
{
    return reinterpret_cast<HHOOK>(static_cast<ULONG_PTR>(Ask(kCopyInstall)));
}

HOOKPROC CopyProcess::Procedure() const
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA("Keywatch.dll"));
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(base + Ask(kCopyProcedure)));
}

void CopyProcess::Remove()
{
    Ask(kCopyRemove);
}

void CopyProcess::End()
{
    ::PostMessageA(m_wnd, kCopyExit, 0, 0);
    PumpUntil([&] { return ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }, 10000);
    m_wnd = nullptr;
}
