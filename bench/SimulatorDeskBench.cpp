// The front simulator's trading desk after a day of orders: entering and cancelling an order, checking
// the funds and a market step must cost the same after a million orders as after ten, because a front
// that slows down as the day goes on stops being a faithful stand-in for tests and demos.
//
// The day's history is orders that rested and were cancelled: they stay in the day's records (queries
// return them) but are no longer working.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "MarketSimulator.h"
#include "SimText.h"
#include "TradingDesk.h"

namespace {

class CQuietSink final : public ITradeEventSink {
public:
    void OnOrderChanged(const std::string&, const NELOOrderRecord&) override {}
    void OnTrade(const std::string&, const NELOTradeRecord&) override {}
    void OnPositionChanged(const std::string&, const NELOPosiRecord&) override {}
    void OnPositionDetailChanged(const std::string&, const NELOPosiDetailRecord&) override {}
    void OnFundChanged(const std::string&, const NELOFundRecord&) override {}
};

constexpr std::int64_t kSession = (std::int64_t{1} << 32) | 1;

SimConfig DayConfig() {
    SimConfig config;
    config.tradingDay = "2026-01-05";
    config.accounts = {{"bench", "pw", 1e15, "Bench"}};
    config.instruments = {{"cu2601", "SHFE", 71230.0, 10.0, 5, 0.10, 0.0001}};
    config.maxOrderQty = 1000;
    return config;
}

// A desk that has seen `history` orders, each rested and cancelled. Built once per size: a million
// orders take seconds to enter.
class CDayOfOrders {
public:
    explicit CDayOfOrders(std::int64_t history)
        : config_(DayConfig()),
          market_(config_.instruments, config_.tradingDay, 7, config_.priceLimitRate),
          desk_(config_, market_, sink_, [] { return std::string("10:15:30"); }) {
        for (std::int64_t i = 0; i < history; ++i) {
            NELOOrderRecord accepted{};
            if (Enter(&accepted) != SimReply::Ok || Cancel(accepted) != SimReply::Ok) {
                throw std::runtime_error("the day's history could not be built");
            }
        }
    }

    // A buy at the lowest bid shown: it rests.
    SimReply Enter(NELOOrderRecord* accepted) {
        NELOInputOrderRecord order{};
        SimCopy(order.InstrumentID, "cu2601");
        order.BSFlag = 'B';
        order.OCFlag = 'O';
        order.PriceType = 'L';
        order.Price = market_.Snapshot(0).bids[9].price;
        order.Qty = 1;
        SimCopy(order.OrderRef, std::to_string(nextRef_++));
        return desk_.EnterOrder("bench", kSession, order, accepted);
    }
    SimReply Cancel(const NELOOrderRecord& accepted) {
        NELOOrderCancelRecord cancel{};
        SimCopy(cancel.OrderSysID, SimText(accepted.OrderSysID));
        return desk_.CancelOrder("bench", cancel);
    }
    CTradingDesk& Desk() { return desk_; }

private:
    SimConfig config_;
    CMarketSimulator market_;
    CQuietSink sink_;
    CTradingDesk desk_;
    std::uint64_t nextRef_ = 1;
};

CDayOfOrders& DayOf(std::int64_t history) {
    static std::map<std::int64_t, std::unique_ptr<CDayOfOrders>> days;
    auto& day = days[history];
    if (!day) day = std::make_unique<CDayOfOrders>(history);
    return *day;
}

void BM_SimDeskOrderAndCancel(benchmark::State& state) {
    CDayOfOrders& day = DayOf(state.range(0));
    for (auto _ : state) {
        NELOOrderRecord accepted{};
        if (day.Enter(&accepted) != SimReply::Ok || day.Cancel(accepted) != SimReply::Ok) {
            state.SkipWithError("order refused");
            break;
        }
    }
}

void BM_SimDeskFundCheck(benchmark::State& state) {
    CDayOfOrders& day = DayOf(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(day.Desk().Fund("bench"));
}

void BM_SimDeskMarketStep(benchmark::State& state) {
    CDayOfOrders& day = DayOf(state.range(0));
    for (auto _ : state) day.Desk().MatchWorkingOrders();
}

}  // namespace

BENCHMARK(BM_SimDeskOrderAndCancel)->Arg(10)->Arg(1000000);
BENCHMARK(BM_SimDeskFundCheck)->Arg(10)->Arg(1000000);
BENCHMARK(BM_SimDeskMarketStep)->Arg(10)->Arg(1000000);
