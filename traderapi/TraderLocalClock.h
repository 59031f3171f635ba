// The computer's local clock as the facade reads it (seconds resolution), behind an interface so that
// tests can fix the time.
#pragma once

struct TraderLocalTime {
    int year = 0;    // four digits
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class CTraderLocalClock {
public:
    virtual TraderLocalTime Now() const = 0;

    // "%04d%02d%02d" and "%02d:%02d:%02d" into buffers of at least 9 bytes.
    static void FormatDate(const TraderLocalTime& time, char (&out)[9]);
    static void FormatTime(const TraderLocalTime& time, char (&out)[9]);

protected:
    ~CTraderLocalClock() = default;
};

class CTraderSystemClock final : public CTraderLocalClock {
public:
    TraderLocalTime Now() const override;
    // The one instance every API object uses unless a test gives it another clock.
    static const CTraderSystemClock& Instance();
};
