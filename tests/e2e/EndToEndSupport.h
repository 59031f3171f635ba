// Both libraries as an application uses them (exported headers and shared libraries only), against the
// front simulator running in this process on free loopback ports. Callbacks arrive on the libraries'
// threads; every recorder keeps what it saw under one lock and lets the test wait for a condition.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FrontSimulator.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "support/Waiting.h"

namespace e2e {

// Fixed so that the libraries' date conversions can be checked.
constexpr const char* kTradingDay = "2026-03-02";
constexpr const char* kTradingDayDigits = "20260302";

// A simulator serving quickly: quotes every 5 ms.
inline SimConfig FastConfig() {
    SimConfig config = DefaultSimConfig();
    config.tradingDay = kTradingDay;
    config.quoteRate = 200.0;
    config.seed = 7;
    return config;
}

class CRunningSimulator {
public:
    explicit CRunningSimulator(SimConfig config = FastConfig()) : simulator_(std::move(config)) {
        simulator_.Open();
        simulator_.RunInBackground();
    }
    ~CRunningSimulator() { simulator_.Stop(); }

    CFrontSimulator& operator*() { return simulator_; }
    CFrontSimulator* operator->() { return &simulator_; }
    std::string TradeFront() const { return "tcp://127.0.0.1:" + std::to_string(simulator_.TradePort()); }
    std::string QuoteFront() const { return "tcp://127.0.0.1:" + std::to_string(simulator_.QuotePort()); }

private:
    CFrontSimulator simulator_;
};

// What one reply callback carried.
struct ReplyRow {
    bool hasRecord = false;
    bool hasInfo = false;
    int errorId = 0;
    std::string errorMsg;
    bool isLast = false;
    std::vector<char> record;  // the record's bytes, when there was one

    template <class Record>
    Record As() const {
        Record r{};
        if (record.size() == sizeof r) std::memcpy(&r, record.data(), sizeof r);
        return r;
    }
};

// Replies by request id, under the lock every recorder's waits and changes take.
class CEventLog : public CWaitable {
public:
    // Replies by request id, in arrival order.
    std::vector<ReplyRow> Replies(int requestId) {
        return Read([&] {
            auto found = replies_.find(requestId);
            return found == replies_.end() ? std::vector<ReplyRow>{} : found->second;
        });
    }
    // Waits for the reply row flagged last and returns every row of the answer.
    std::vector<ReplyRow> Answer(int requestId) {
        const bool done = WaitUntil([&] { return Finished(requestId); });
        EXPECT_TRUE(done) << "no complete answer to request " << requestId;
        return Replies(requestId);
    }
    template <class Record>
    static std::vector<Record> Records(const std::vector<ReplyRow>& rows) {
        std::vector<Record> records;
        for (const auto& row : rows)
            if (row.hasRecord) records.push_back(row.As<Record>());
        return records;
    }

protected:
    template <class Record>
    void Reply(const Record* record, const NarvRspInfoRecord* info, int requestId, bool isLast) {
        ReplyRow row;
        if (record) {
            row.hasRecord = true;
            const char* bytes = reinterpret_cast<const char*>(record);
            row.record.assign(bytes, bytes + sizeof *record);
        }
        if (info) {
            row.hasInfo = true;
            row.errorId = info->ErrorID;
            row.errorMsg.assign(info->ErrorMsg, strnlen(info->ErrorMsg, sizeof info->ErrorMsg));
        }
        row.isLast = isLast;
        Keep(std::move(row), requestId);
    }
    void Keep(ReplyRow row, int requestId) {
        Note([&] { replies_[requestId].push_back(std::move(row)); });
    }
    bool Finished(int requestId) const {
        auto found = replies_.find(requestId);
        return found != replies_.end() && !found->second.empty() && found->second.back().isLast;
    }

    std::map<int, std::vector<ReplyRow>> replies_;
};

class CTraderRecorder : public CNarvSqelTraderSpi, public CEventLog {
public:
    int Connects() {
        return Read([&] { return connects_; });
    }
    int Disconnects() {
        return Read([&] { return disconnects_; });
    }
    std::vector<NarvOrderRecord> Orders() {
        return Read([&] { return orders_; });
    }
    std::vector<NarvTradeRecord> Trades() {
        return Read([&] { return trades_; });
    }
    // Order pushes seen before the first lost connection.
    std::size_t OrdersBeforeFirstDisconnect() {
        return Read([&] { return ordersAtDisconnect_; });
    }

    bool WaitForConnects(int n) {
        return WaitUntil([&] { return connects_ >= n; });
    }
    bool WaitForDisconnects(int n) {
        return WaitUntil([&] { return disconnects_ >= n; });
    }
    // Waits for an order push that satisfies `match`.
    template <class Match>
    bool WaitForOrder(Match match) {
        return WaitUntil([&] {
            for (const auto& order : orders_)
                if (match(order)) return true;
            return false;
        });
    }

    void OnConnected() override {
        Note([&] { ++connects_; });
    }
    void OnDisconnected(int) override {
        Note([&] {
            if (disconnects_++ == 0) ordersAtDisconnect_ = orders_.size();
        });
    }
    void OnLoginRsp(const NarvLoginRspRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnLogoutRsp(const NarvLogoutRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnChangePasswordRsp(const NarvChangePasswordRecord* r, const NarvRspInfoRecord* i, int id,
                             bool last) override {
        Reply(r, i, id, last);
    }
    void OnInputOrderRsp(const NarvInputOrderRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnOrderCancelRsp(const NarvOrderActionRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnOrderQueryRsp(const NarvOrderRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnTradeQueryRsp(const NarvTradeRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnPosiQueryRsp(const NarvPosiRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnFundQueryRsp(const NarvFundRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnInvestorMarginRateQueryRsp(const NarvInvestorMarginRateRecord* r, const NarvRspInfoRecord* i, int id,
                                      bool last) override {
        Reply(r, i, id, last);
    }
    void OnInvestorFeeRateQueryRsp(const NarvInvestorFeeRateRecord* r, const NarvRspInfoRecord* i, int id,
                                   bool last) override {
        Reply(r, i, id, last);
    }
    void OnExchangeQueryRsp(const NarvExchangeRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnProductQueryRsp(const NarvProductRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnInstrumentQueryRsp(const NarvInstrumentRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnQuotQueryRsp(const NarvQuotRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnPosiDetailQueryRsp(const NarvPosiDetailRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnExchangeMarginRateQueryRsp(const NarvExchangeMarginRateRecord* r, const NarvRspInfoRecord* i, int id,
                                      bool last) override {
        Reply(r, i, id, last);
    }
    void OnOrderNty(const NarvOrderRecord* order) override {
        Note([&] {
            orders_.push_back(*order);
            pushes_.push_back(OrderPushKey(order->OrderSysID, order->OrderStatus, order->QtyLeft));
        });
    }
    void OnTradeNty(const NarvTradeRecord* trade) override {
        Note([&] {
            trades_.push_back(*trade);
            pushes_.push_back(TradePushKey(trade->MatchID));
        });
    }

    // Order and trade pushes in arrival order, keyed so that they compare with the simulator's flow.
    std::vector<std::string> Pushes() {
        return Read([&] { return pushes_; });
    }
    bool WaitForPushes(std::size_t n) {
        return WaitUntil([&] { return pushes_.size() >= n; });
    }
    static std::string OrderPushKey(const std::string& orderSysId, char status, int qtyLeft) {
        return "order " + orderSysId + " " + status + " " + std::to_string(qtyLeft);
    }
    static std::string TradePushKey(const std::string& matchId) { return "trade " + matchId; }

private:
    int connects_ = 0;
    int disconnects_ = 0;
    std::size_t ordersAtDisconnect_ = 0;
    std::vector<NarvOrderRecord> orders_;
    std::vector<NarvTradeRecord> trades_;
    std::vector<std::string> pushes_;
};

class CMdRecorder : public CNarvSqelMdSpi, public CEventLog {
public:
    int Connects() {
        return Read([&] { return connects_; });
    }
    std::vector<NarvDepthQuoteRecord> Quotes() {
        return Read([&] { return quotes_; });
    }
    // Quotes of one instrument among those received after the first `skipped`.
    std::size_t QuotesSince(const std::string& instrumentId, std::size_t skipped) {
        return Read([&] { return CountOf(instrumentId, skipped); });
    }
    bool WaitForConnects(int n) {
        return WaitUntil([&] { return connects_ >= n; });
    }
    template <class Match>
    bool WaitForQuote(Match match) {
        return WaitUntil([&] {
            for (const auto& quote : quotes_)
                if (match(quote)) return true;
            return false;
        });
    }
    bool WaitForQuotes(const std::string& instrumentId, std::size_t n, std::size_t skipped = 0) {
        return WaitUntil([&] { return CountOf(instrumentId, skipped) >= n; });
    }

    void OnConnected() override {
        Note([&] { ++connects_; });
    }
    void OnDisconnected(int) override {
        Note([&] { ++disconnects_; });
    }
    bool WaitForDisconnects(int n) {
        return WaitUntil([&] { return disconnects_ >= n; });
    }
    void OnLoginRsp(const NarvLoginRspRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    void OnLogoutRsp(const NarvLogoutRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Reply(r, i, id, last);
    }
    // Subscription replies all carry request id 0; they are kept by instrument instead, see Subscriptions.
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* r, const NarvRspInfoRecord* i, int, bool) override {
        Subscription(r, i, true);
    }
    void OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord* r, const NarvRspInfoRecord* i, int, bool) override {
        Subscription(r, i, false);
    }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* quote) override {
        Note([&] { quotes_.push_back(*quote); });
    }

    struct SubscriptionReply {
        bool subscribe;
        std::string instrumentId;
        int errorId;
        std::string errorMsg;
        std::size_t quotesBefore;  // quotes received before this reply
    };
    bool WaitForSubscriptionReplies(std::size_t n) {
        return WaitUntil([&] { return subscriptions_.size() >= n; });
    }
    std::vector<SubscriptionReply> Subscriptions() {
        return Read([&] { return subscriptions_; });
    }

private:
    std::size_t CountOf(const std::string& instrumentId, std::size_t skipped) const {
        std::size_t n = 0;
        for (std::size_t i = skipped; i < quotes_.size(); ++i)
            if (instrumentId == quotes_[i].InstrumentID) ++n;
        return n;
    }
    void Subscription(const NarvQuotInstrumentRecord* r, const NarvRspInfoRecord* i, bool subscribe) {
        Note([&] {
            subscriptions_.push_back({subscribe, r ? r->InstrumentID : "", i ? i->ErrorID : -1,
                                      i ? std::string(i->ErrorMsg) : std::string(), quotes_.size()});
        });
    }

    int connects_ = 0;
    int disconnects_ = 0;
    std::vector<NarvDepthQuoteRecord> quotes_;
    std::vector<SubscriptionReply> subscriptions_;
};

// Releases an API object the way an application must: through Release, never delete.
struct CTraderRelease {
    void operator()(CNarvSqelTraderApi* api) const { api->Release(); }
};
struct CMdRelease {
    void operator()(CNarvSqelMdApi* api) const { api->Release(); }
};

// A trading API connected to the simulator, with its recorder. The recorder outlives the API object.
class CTraderSession {
public:
    // `configure` runs before Init (flow resume modes and the like).
    template <class Configure>
    CTraderSession(const std::string& front, Configure configure) : api_(CNarvSqelTraderApi::CreateSqelTraderApi("")) {
        api_->RegisterSpi(&events_);
        api_->RegisterFront(front.c_str());
        configure(*api_);
        api_->Init();
    }
    explicit CTraderSession(const std::string& front) : CTraderSession(front, [](CNarvSqelTraderApi&) {}) {}

    CNarvSqelTraderApi& Api() { return *api_; }
    CTraderRecorder& Events() { return events_; }

    // Logs in and returns the answer's only row.
    ReplyRow Login(const char* investor, const char* password, int requestId) {
        NarvLoginReqRecord login{};
        std::strncpy(login.FirmID, "9999", sizeof login.FirmID - 1);
        std::strncpy(login.InvestorID, investor, sizeof login.InvestorID - 1);
        std::strncpy(login.InvestorPassword, password, sizeof login.InvestorPassword - 1);
        EXPECT_EQ(api_->ReqLogin(&login, requestId), 0);
        const auto rows = events_.Answer(requestId);
        return rows.empty() ? ReplyRow{} : rows.back();
    }

private:
    CTraderRecorder events_;
    std::unique_ptr<CNarvSqelTraderApi, CTraderRelease> api_;
};

class CMdSession {
public:
    explicit CMdSession(const std::string& front) : api_(CNarvSqelMdApi::CreateSqelMdApi("", false, false)) {
        api_->RegisterSpi(&events_);
        api_->RegisterFront(front.c_str());
        api_->Init();
    }

    CNarvSqelMdApi& Api() { return *api_; }
    CMdRecorder& Events() { return events_; }

    ReplyRow Login(const char* investor, const char* password, int requestId) {
        NarvLoginReqRecord login{};
        std::strncpy(login.InvestorID, investor, sizeof login.InvestorID - 1);
        std::strncpy(login.InvestorPassword, password, sizeof login.InvestorPassword - 1);
        EXPECT_EQ(api_->ReqLogin(&login, requestId), 0);
        const auto rows = events_.Answer(requestId);
        return rows.empty() ? ReplyRow{} : rows.back();
    }

private:
    CMdRecorder events_;
    std::unique_ptr<CNarvSqelMdApi, CMdRelease> api_;
};

// An exported order entry request with the fields the simulator checks.
inline NarvInputOrderRecord OrderRequest(const char* instrument, const char* exchange, char bsFlag, char ocFlag,
                                         double price, int qty, const char* orderRef) {
    NarvInputOrderRecord order{};
    std::strncpy(order.InvestorID, "demo", sizeof order.InvestorID - 1);
    std::strncpy(order.InstrumentID, instrument, sizeof order.InstrumentID - 1);
    std::strncpy(order.ExchangeID, exchange, sizeof order.ExchangeID - 1);
    std::strncpy(order.OrderRef, orderRef, sizeof order.OrderRef - 1);
    order.PriceType = '2';  // limit
    order.BSFlag = bsFlag;
    order.OCFlag = ocFlag;
    order.Price = price;
    order.Qty = qty;
    order.TimeCondition = '3';
    order.VolumeCondition = '1';
    return order;
}

}  // namespace e2e
