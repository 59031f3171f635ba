// The whole simulated front: the market, both services and their listeners on one I/O thread.
#pragma once

#include <boost/asio.hpp>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include "MarketSimulator.h"
#include "QuoteService.h"
#include "SimConfig.h"
#include "TradeService.h"

class CFrontSimulator {
public:
    explicit CFrontSimulator(SimConfig config);
    ~CFrontSimulator();
    CFrontSimulator(const CFrontSimulator&) = delete;
    CFrontSimulator& operator=(const CFrontSimulator&) = delete;

    // Opens both ports and starts the market clock; throws boost::system::system_error naming the service
    // and the port when a port cannot be opened.
    void Open();
    // Serves on the calling thread until Stop.
    void Run();
    // Serves on a thread of its own (in-process use, tests).
    void RunInBackground();
    // Closes every connection and ends Run; safe from any thread and from signal handlers' completions.
    void Stop();

    std::uint16_t TradePort() const { return tradePort_; }
    std::uint16_t QuotePort() const { return quotePort_; }
    const std::string& Host() const { return config_.listenHost; }
    boost::asio::io_context& Context() { return io_; }

    // Runs `work` on the simulator's thread and returns its result: the way to look at its state from
    // outside while it serves (after RunInBackground). Throws std::runtime_error instead of waiting
    // forever when the simulator stops before the work ran.
    template <class Work>
    auto Call(Work work) -> decltype(work(std::declval<CTradeService&>())) {
        auto task = std::make_shared<std::packaged_task<decltype(work(std::declval<CTradeService&>()))()>>(
            [this, work]() mutable { return work(*trade_); });
        auto result = task->get_future();
        boost::asio::post(io_, [task] { (*task)(); });
        while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
            if (io_.stopped()) throw std::runtime_error("the front simulator stopped before the call ran");
        return result.get();
    }

    // Fault switches while serving, for tests that break a session on purpose. Both wait until the
    // simulator's thread has applied them.
    // Faults for the connections accepted from now on; `faults.connections` counts from here again.
    void SetFaults(const SimFaults& faults);
    // Closes every open connection of the chosen services at once, as a broken network would; the
    // listeners stay open, so clients can connect again.
    void DropConnections(bool trade, bool quote);

private:
    using Acceptor = boost::asio::ip::tcp::acceptor;

    void Accept(Acceptor& acceptor, bool trade);
    void ArmMarketClock();
    SimSessionSettings SettingsFor(bool trade);

    SimConfig config_;
    boost::asio::io_context io_;
    CMarketSimulator market_;
    std::unique_ptr<CTradeService> trade_;
    std::unique_ptr<CQuoteService> quote_;
    Acceptor tradeAcceptor_;
    Acceptor quoteAcceptor_;
    boost::asio::steady_timer marketClock_;
    std::uint16_t tradePort_ = 0;
    std::uint16_t quotePort_ = 0;
    std::uint32_t tradeConnections_ = 0;
    std::uint32_t quoteConnections_ = 0;
    std::uint64_t nextConnectionId_ = 1;
    std::thread thread_;
};

// The local wall clock as HH:MM:SS.
std::string SimClockTime();
