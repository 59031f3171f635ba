// What the demo prints, from the main thread and from the libraries' callback threads, one whole line at
// a time: step headings, then indented lines tagged with the library they come from.
#pragma once

#include <mutex>
#include <string>

class CDemoConsole {
public:
    void Step(const std::string& text);
    void Line(const char* source, const std::string& text);
    void Failure(const std::string& text);  // to standard error

private:
    std::mutex mutex_;
};
