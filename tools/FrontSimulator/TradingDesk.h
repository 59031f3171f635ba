// The simulated broker behind the trade service: accounts, orders matched against the simulated market,
// trades, positions with their opening lots, and funds. It speaks in the trade service's own records, so
// queries are answered and pushes are made from exactly what is kept here. The day's history is indexed
// (working orders, open lots, order numbers and references), so that entering or cancelling an order and
// checking funds cost what the live orders and positions cost, not what the day has seen. Used from one
// thread (the simulator's).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "MarketSimulator.h"
#include "NELOOrderRecords.h"
#include "NELOQueryRecords.h"
#include "SimConfig.h"
#include "SimReplyCodes.h"

// Told of every change of an account, in the order the changes happen.
class ITradeEventSink {
public:
    virtual void OnOrderChanged(const std::string& investorId, const NELOOrderRecord& order) = 0;
    virtual void OnTrade(const std::string& investorId, const NELOTradeRecord& trade) = 0;
    virtual void OnPositionChanged(const std::string& investorId, const NELOPosiRecord& position) = 0;
    virtual void OnPositionDetailChanged(const std::string& investorId, const NELOPosiDetailRecord& detail) = 0;
    virtual void OnFundChanged(const std::string& investorId, const NELOFundRecord& fund) = 0;

protected:
    ~ITradeEventSink() = default;
};

// Narrows a query to one instrument and/or one exchange; empty texts match everything.
struct SimQueryFilter {
    std::string instrumentId;
    std::string exchangeId;
};

class CTradingDesk {
public:
    using Clock = std::function<std::string()>;  // "HH:MM:SS"

    CTradingDesk(const SimConfig& config, CMarketSimulator& market, ITradeEventSink& sink, Clock clock);

    SimReply CheckLogin(const std::string& investorId, const std::string& password) const;
    SimReply ChangePassword(const std::string& investorId, const std::string& oldPassword,
                            const std::string& newPassword);
    const std::string& InvestorName(const std::string& investorId) const;

    // Validates and enters an order of the logged-in investor; on success the order's life follows
    // through the sink (accepted, trades, final state, positions, funds) and `accepted` holds the order
    // as first entered. An OrderRef that a working order of the same session already has is refused,
    // as a front does: the application could not tell the two orders' returns apart.
    SimReply EnterOrder(const std::string& investorId, std::int64_t sessionId, const NELOInputOrderRecord& request,
                        NELOOrderRecord* accepted);
    SimReply CancelOrder(const std::string& investorId, const NELOOrderCancelRecord& request);
    // Trades working orders against the book after the market moved.
    void MatchWorkingOrders();

    std::vector<NELOOrderRecord> Orders(const std::string& investorId, const SimQueryFilter& filter) const;
    std::vector<NELOTradeRecord> Trades(const std::string& investorId, const SimQueryFilter& filter) const;
    std::vector<NELOPosiRecord> Positions(const std::string& investorId, const SimQueryFilter& filter) const;
    std::vector<NELOPosiDetailRecord> PositionDetails(const std::string& investorId,
                                                      const SimQueryFilter& filter) const;
    NELOFundRecord Fund(const std::string& investorId) const;

private:
    struct OrderState {
        NELOOrderRecord record;
        std::size_t instrument;
        bool opens;
        bool buys;
        bool market;
    };
    struct LotState {
        NELOPosiDetailRecord record;
        std::size_t instrument;
    };
    struct PositionState {
        std::size_t instrument;
        bool isLong;
        std::set<std::size_t> openLots;  // positions in the account's lots of those left open, oldest first
        std::int32_t openVolume = 0;
        std::int32_t closeVolume = 0;
        double openAmount = 0.0;
        double closeAmount = 0.0;
        double closedPL = 0.0;
        double fee = 0.0;
    };
    struct AccountState {
        SimAccount account;
        double closedPL = 0.0;
        double fee = 0.0;
        // Deques: a day of a million orders grows without ever moving what it holds (a vector would
        // stall one order for the copy of all the others, and move records that callers still see).
        std::deque<OrderState> orders;
        std::deque<NELOTradeRecord> trades;
        std::deque<LotState> lots;  // in opening order: closes take the oldest first
        std::vector<PositionState> positions;
        // Indexes into `orders`.
        std::set<std::size_t> working;  // in entry order, so that sums come out as over all orders
        std::unordered_map<std::string, std::size_t> bySystemNumber;
        std::unordered_map<std::string, std::size_t> byOrderNumber;
        std::map<std::pair<std::int64_t, std::string>, std::size_t> byReference;  // (session, OrderRef): latest
    };

    AccountState* FindAccount(const std::string& investorId);
    const AccountState* FindAccount(const std::string& investorId) const;
    PositionState& PositionOf(AccountState& account, std::size_t instrument, bool isLong);
    const PositionState* FindPosition(const AccountState& account, std::size_t instrument, bool isLong) const;
    // The order a cancel names: by exchange number, else by order number, else by session and OrderRef.
    static std::optional<std::size_t> FindOrder(const AccountState& account, const NELOOrderCancelRecord& request);
    // Keeps `working` in step with the order's status after any change of it.
    static void Reindex(AccountState& account, std::size_t order);
    SimReply Validate(const AccountState& account, const std::string& investorId, const NELOInputOrderRecord& request,
                      int instrument) const;
    std::int32_t ClosableQty(const AccountState& account, std::size_t instrument, bool isLong) const;
    // Trades `order` against the book; returns whether anything traded.
    bool Execute(AccountState& account, OrderState& order);
    void Fill(AccountState& account, OrderState& order, double price, std::int32_t qty);
    // `orderChanged` false: the order's record is what was last pushed (an entry that neither traded
    // nor ended), so only the account's side of the change goes out.
    void PublishAfterChange(AccountState& account, OrderState& order, bool traded, bool orderChanged = true);
    NELOPosiRecord BuildPosition(const AccountState& account, const PositionState& position) const;
    NELOFundRecord BuildFund(const AccountState& account) const;
    double FrozenMargin(const OrderState& order) const;
    double FrozenFee(const OrderState& order) const;
    double LastPrice(std::size_t instrument) const;
    bool Matches(std::size_t instrument, const SimQueryFilter& filter) const;

    const SimConfig& config_;
    CMarketSimulator& market_;
    ITradeEventSink& sink_;
    Clock clock_;
    std::vector<AccountState> accounts_;
    std::unordered_map<std::string, std::size_t> accountIndex_;  // investor -> position in accounts_
    std::uint64_t nextOrderId_ = 1;
    std::uint64_t nextMatchId_ = 1;
    std::vector<std::size_t> touchedLots_;  // lots the fills since the last publication opened or closed
};
