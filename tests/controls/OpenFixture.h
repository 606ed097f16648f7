// A web-page class of the tests' own, registered for ".htm" in the test
// prefix's classes, whose open command runs open_recorder.exe; the recorder
// writes the command line it was given to a scratch file.
#pragma once
#include <windows.h>

#include <string>

// Registers HKLM\Software\Classes\.htm -> the test class with this open
// command; puts back what was there on destruction.
class HtmClass {
public:
    explicit HtmClass(const std::string& command);
    ~HtmClass();

    static const char kClassName[];
    static const char kHtmKey[];
    static const char kCommandKey[];

private:
    bool m_hadKey = false;
    bool m_hadDefault = false;
    DWORD m_type = REG_SZ;
    std::string m_default;
};

// "<this program's folder>\open_recorder.exe", quoted.
std::string QuotedRecorderPath();

// Points the recorder at a fresh file under S:\<scratch> (inherited by the
// processes this one starts) and reads what it records.
class OpenRecord {
public:
    explicit OpenRecord(const std::string& scratch);
    // The command line the recorder was started with, or "<none>" when it
    // did not record within timeoutMs (this thread's messages are pumped).
    std::string Wait(DWORD timeoutMs = 10000);
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
    std::string m_file;
};
