#include "SocketLibrary.h"

#ifdef _WIN32

#include <winsock2.h>

#include <mutex>

namespace {

std::mutex& ReferenceMutex() {
    static std::mutex mutex;
    return mutex;
}

int g_references = 0;

}  // namespace

CSocketLibraryRef::CSocketLibraryRef() {
    std::lock_guard<std::mutex> lock(ReferenceMutex());
    if (g_references == 0) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 0), &data) != 0) {
            return;  // not counted: a failed start-up must not be cleaned up later
        }
    }
    ++g_references;
    started_ = true;
}

CSocketLibraryRef::~CSocketLibraryRef() {
    if (!started_) {
        return;
    }
    std::lock_guard<std::mutex> lock(ReferenceMutex());
    if (--g_references == 0) {
        WSACleanup();
    }
}

#else

CSocketLibraryRef::CSocketLibraryRef() : started_(true) {}

CSocketLibraryRef::~CSocketLibraryRef() = default;

#endif
