// Every I/O service holds one reference on the operating system's socket library for as long as it
// exists. On Windows the first reference in the process starts Windows Sockets 2.0 and the last one
// cleans it up; elsewhere sockets need no start-up and a reference does nothing.
#pragma once

class CSocketLibraryRef {
public:
    CSocketLibraryRef();
    ~CSocketLibraryRef();
    CSocketLibraryRef(const CSocketLibraryRef&) = delete;
    CSocketLibraryRef& operator=(const CSocketLibraryRef&) = delete;

    // Whether the library was started for this holder (always true where no start-up is needed).
    [[nodiscard]] bool IsStarted() const { return started_; }

private:
    bool started_ = false;
};
