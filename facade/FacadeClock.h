// The computer's local clock as the facade reads it (seconds resolution), behind an interface so that
// tests can fix the time. Both facades take one when they are built.
//
// Thread safety: Now and the formatting functions may be called on any thread at once.
#pragma once

struct FacadeLocalTime {
    int year = 0;   // four digits
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class CFacadeLocalClock {
public:
    virtual FacadeLocalTime Now() const = 0;

    // "%04d%02d%02d" and "%02d:%02d:%02d" into buffers of at least 9 bytes.
    static void FormatDate(const FacadeLocalTime& time, char (&out)[9]);
    static void FormatTime(const FacadeLocalTime& time, char (&out)[9]);

protected:
    ~CFacadeLocalClock() = default;
};

class CFacadeSystemClock final : public CFacadeLocalClock {
public:
    FacadeLocalTime Now() const override;
    // The one instance every API object uses unless a test gives it another clock.
    static const CFacadeSystemClock& Instance();
};
