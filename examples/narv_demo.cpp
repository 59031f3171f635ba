// narv_demo: one short trading session through both libraries, printed as it happens.
//
//   narv_demo --trade-front 127.0.0.1:PORT --quote-front 127.0.0.1:PORT
//
// tools/run-demo.sh builds everything and runs this against the bundled front simulator.
#include <chrono>
#include <cstdio>

#include "DemoConsole.h"
#include "DemoExitCodes.h"
#include "DemoOptions.h"
#include "DemoSession.h"
#include "DemoWatchdog.h"

namespace {

// Every step waits at most --timeout; this bounds the run as a whole, Release included.
constexpr int kWholeRunInSteps = 20;

}  // namespace

int main(int argc, char* argv[]) {
    DemoOptions options;
    const DemoOptionsParse parsed = ParseDemoOptions(argc, argv, options);
    if (parsed.outcome == DemoOptionsParse::Outcome::Help) {
        std::fputs(parsed.message.c_str(), stdout);
        return kDemoSucceeded;
    }
    CDemoConsole console;
    if (parsed.outcome == DemoOptionsParse::Outcome::Error) {
        console.Failure(parsed.message + " (--help lists the options)");
        return kDemoUsage;
    }
    CDemoWatchdog watchdog(console, std::chrono::seconds(options.stepTimeoutSeconds * kWholeRunInSteps), kDemoTimedOut);
    int status;
    {
        CDemoSession session(options, console);
        status = session.Run();
    }  // both API objects are released here, still under the watchdog
    return status;
}
