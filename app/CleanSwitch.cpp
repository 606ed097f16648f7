#include "app/CleanSwitch.h"

#include "app/CommandLine.h"
#include "app/SweepSession.h"
#include "engine/LogSink.h"
#include "engine/OsVersion.h"
#include "framework/Format.h"
#include "framework/MessageBox.h"
#include "framework/Thread.h"

namespace {

// The run's text, kept for its exit code and appended to the log file. The
// file gets the date line with the first text, which comes once this run
// holds the clean-run mutex, so runs of several processes never interleave.
class CFileLog : public CLogSink {
public:
    CFileLog() { ::InitializeCriticalSection(&m_lock); }
    ~CFileLog()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
        ::DeleteCriticalSection(&m_lock);
    }

    // Opened once, before the run moves the current directory; created if
    // missing, never truncated.
    bool Open(const std::string& path)
    {
        m_hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_hFile != INVALID_HANDLE_VALUE;
    }

    void AppendText(const std::string& text) override
    {
        ::EnterCriticalSection(&m_lock);
        if (m_text.empty())
            Write(NowLine());
        m_text += text;
        Write(text);
        ::LeaveCriticalSection(&m_lock);
    }

    std::string Text()
    {
        ::EnterCriticalSection(&m_lock);
        std::string text = m_text;
        ::LeaveCriticalSection(&m_lock);
        return text;
    }

private:
    static std::string NowLine()
    {
        SYSTEMTIME t;
        ::GetLocalTime(&t);
        char line[32];
        FormatText(line, sizeof(line), "%04u-%02u-%02u %02u:%02u:%02u\r\n", t.wYear, t.wMonth, t.wDay,
                   t.wHour, t.wMinute, t.wSecond);
        return line;
    }
    void Write(const std::string& text)
    {
        if (m_hFile == INVALID_HANDLE_VALUE)
            return;
        // Another copy may have appended since.
        ::SetFilePointer(m_hFile, 0, nullptr, FILE_END);
        DWORD written = 0;
        ::WriteFile(m_hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    CRITICAL_SECTION m_lock;
    std::string m_text;
};

// A session's view that shows nothing: the run's text goes to the log.
class CQuietView : public CSessionView {
public:
    explicit CQuietView(CFileLog& log) : m_log(log) {}
    CLogSink* RunLog() override { return &m_log; }
    HWND RunDoneWindow() override { return nullptr; }
    void ClearLog() override {}
    void StatusChanged() override {}
    void TipChanged() override {}
    void SetAutoTimer(UINT) override {}

private:
    CFileLog& m_log;
};

CFileLog* g_log = nullptr;

// A fatal condition (unsupported system, Shell Folders key missing, registry
// failure): its text goes to the log instead of a box, and no run is made.
int FatalToLog(const char* text)
{
    if (g_log)
        g_log->AppendText(std::string(text) + "\r\n");
    return kCleanNoRun;
}

void NoHook() {}

} // namespace

int RunCleanSwitch(const std::string& logFile, bool preview)
{
    static CFileLog log; // the fatal handler may use it until the process ends
    if (!logFile.empty() && !log.Open(logFile))
        return kCleanNoRun;
    g_log = &log;
    AfxSetFatalHandler(FatalToLog);

    // The version check the run would make, here, so that a refusal is an
    // exit code rather than a box; a system the run skips makes no run.
    OSVERSIONINFOA version;
    BOOL ok = CurrentOsVersion(&version);
    OsVerdict verdict = ClassifyOs(ok, version);
    EndOnFatalVerdict(verdict);
    if (verdict != OsVerdict::Run)
        return kCleanNoRun;

    CQuietView view(log);
    CSweepSession session(view, NoHook, NoHook);
    session.Load();
    if (!(preview ? session.StartPreview() : session.StartClean()))
        return kCleanNoRun;
    PumpMessagesUntil([&] { return !session.IsRunning(); });
    session.Shutdown();
    return preview ? kCleanAllRemoved : CleanExitCode(log.Text());
}
