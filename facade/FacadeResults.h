// The results the exported request operations return besides a service client's own.
#pragma once

constexpr int kFacadeNotSent = -1;      // invalid input (a missing record); nothing was sent
constexpr int kFacadeNotProvided = -3;  // the library does not provide the operation; no callback follows
