// Exit statuses of narv_demo; scripts rely on them, so they never change meaning.
#pragma once

enum DemoExitCode : int {
    kDemoSucceeded = 0,     // every step done, logged out
    kDemoRefused = 1,       // a request was refused by the library or answered with an error
    kDemoUsage = 2,         // bad command line
    kDemoTimedOut = 3,      // an expected answer or push did not arrive in time
    kDemoNoConnection = 4,  // a front could not be reached in time, or the connection was lost
};
