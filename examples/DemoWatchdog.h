// Ends the process when the whole run takes too long, whatever it is stuck in: every wait of the demo is
// bounded, and this also bounds what the demo does not control (a library call that does not return).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "DemoConsole.h"

class CDemoWatchdog {
public:
    CDemoWatchdog(CDemoConsole& console, std::chrono::seconds limit, int exitCode);
    ~CDemoWatchdog();  // stands down
    CDemoWatchdog(const CDemoWatchdog&) = delete;
    CDemoWatchdog& operator=(const CDemoWatchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool standDown_ = false;
    std::thread thread_;
};
