#include "TimerSource.h"

#include <boost/asio/steady_timer.hpp>
#include <utility>

namespace {

class CSteadyTimer final : public CTimerSource::CTimer {
public:
    explicit CSteadyTimer(boost::asio::io_context& io) : timer_(io) {}
    void WaitUntil(CTimerSource::Clock::time_point deadline, CTimerSource::Handler handler) override {
        timer_.expires_at(deadline);
        timer_.async_wait(std::move(handler));
    }
    void Cancel() override { timer_.cancel(); }

private:
    boost::asio::steady_timer timer_;
};

// Stateless: one instance serves every connection of the process.
class CSteadyTimerSource final : public CTimerSource {
public:
    Clock::time_point Now() const override { return Clock::now(); }
    std::unique_ptr<CTimer> MakeTimer(boost::asio::io_context& io) override {
        return std::make_unique<CSteadyTimer>(io);
    }
};

}  // namespace

CTimerSource& SteadyTimerSource() {
    static CSteadyTimerSource source;
    return source;
}
