#include "FacadeClock.h"

#include <cstdio>
#include <ctime>

namespace {
unsigned Digits(int value, unsigned modulus) { return static_cast<unsigned>(value < 0 ? 0 : value) % modulus; }
}  // namespace

void CFacadeLocalClock::FormatDate(const FacadeLocalTime& time, char (&out)[9]) {
    // Out-of-range values are cut rather than overflow the field.
    std::snprintf(out, sizeof(out), "%04u%02u%02u", Digits(time.year, 10000), Digits(time.month, 100),
                  Digits(time.day, 100));
}

void CFacadeLocalClock::FormatTime(const FacadeLocalTime& time, char (&out)[9]) {
    std::snprintf(out, sizeof(out), "%02u:%02u:%02u", Digits(time.hour, 100), Digits(time.minute, 100),
                  Digits(time.second, 100));
}

FacadeLocalTime CFacadeSystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);  // the re-entrant form: callers run on several threads
    FacadeLocalTime result;
    result.year = local.tm_year + 1900;
    result.month = local.tm_mon + 1;
    result.day = local.tm_mday;
    result.hour = local.tm_hour;
    result.minute = local.tm_min;
    result.second = local.tm_sec;
    return result;
}

const CFacadeSystemClock& CFacadeSystemClock::Instance() {
    static const CFacadeSystemClock clock;
    return clock;
}
