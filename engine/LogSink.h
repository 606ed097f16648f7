// Where a clean run writes its progress text. The run calls it from its worker
// thread; an implementation that shows the text in a window does the window
// work on that window's own thread.
#pragma once
#include <string>

class CLogSink {
public:
    // Adds text verbatim at the end; line breaks are the "\r\n" in the texts.
    virtual void AppendText(const std::string& text) = 0;

protected:
    ~CLogSink() = default;
};
