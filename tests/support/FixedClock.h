// A local clock the test sets, for the API objects that take their clock when they are built.
//
// Thread safety: set `time` before the object under test reads it; reading is then safe on any thread.
#pragma once

#include "FacadeClock.h"

class CFixedClock final : public CFacadeLocalClock {
public:
    FacadeLocalTime Now() const override { return time; }
    FacadeLocalTime time;
};
