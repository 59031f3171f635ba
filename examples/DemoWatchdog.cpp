#include "DemoWatchdog.h"

#include <cstdlib>
#include <string>

CDemoWatchdog::CDemoWatchdog(CDemoConsole& console, std::chrono::seconds limit, int exitCode)
    : thread_([this, &console, limit, exitCode] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (wake_.wait_for(lock, limit, [this] { return standDown_; })) return;
          console.Failure("gave up: the whole run took longer than " + std::to_string(limit.count()) + " s");
          std::_Exit(exitCode);
      }) {}

CDemoWatchdog::~CDemoWatchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        standDown_ = true;
    }
    wake_.notify_all();
    thread_.join();
}
