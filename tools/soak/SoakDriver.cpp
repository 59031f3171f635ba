// narv_soak_driver: an application that keeps both libraries busy for a long time, so that a script can
// watch its memory, threads and descriptors. It uses nothing but the two exported headers and libraries.
//
// The market-data side logs in, subscribes every instrument and, every few seconds, drops and renews the
// subscriptions, so the subscription path is exercised for the whole run and not only at its start.
// The trading side enters and cancels orders in a loop, one at a time, and every tenth round buys at the
// upper limit and sells back at the lower limit, so that fills and trade pushes happen too while the
// position stays flat. Nothing seen is kept beyond counters and the one order being worked on: whatever
// grows in this process grows in the libraries.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

namespace {

// Exit statuses the soak script relies on.
constexpr int kExitDone = 0;
constexpr int kExitFault = 1;  // a step stalled, a connection was lost or nothing flowed
constexpr int kExitUsage = 2;

constexpr const char* kInvestor = "demo";
constexpr const char* kPassword = "demo123";
constexpr const char* kFirm = "9999";
// The instrument traded: cheap margin, so a thousand fills never exhaust the default account.
constexpr const char* kTradedInstrument = "m2605";
constexpr const char* kTradedExchange = "DCE";
// Subscribed on the market-data side; the simulator's default market.
const char* const kSubscribed[] = {"cu2601", "au2602", "sc2602", "m2605", "SR605", "IF2601"};
constexpr int kSubscribedCount = static_cast<int>(sizeof kSubscribed / sizeof kSubscribed[0]);

// Patience for one answer. Far above a loopback round trip: reaching it means something is stuck.
constexpr std::chrono::seconds kStepPatience{20};
constexpr int kFillEvery = 10;

struct Options {
    std::string tradeFront;
    std::string quoteFront;
    int seconds = 600;
    int orderPauseMs = 2;
    int resubscribeSeconds = 5;
};

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: narv_soak_driver --trade HOST:PORT --quote HOST:PORT [--seconds N] [--order-pause-ms N]\n"
                 "                        [--resubscribe-seconds N]\n"
                 "Trades and subscribes against a front simulator for N seconds (default 600), printing a\n"
                 "progress line every minute to standard error and a summary to standard output.\n"
                 "Exit status: 0 the run completed with quotes, orders and fills flowing; 1 a step stalled\n"
                 "for %lld s, a connection was lost or nothing flowed; 2 bad command line.\n",
                 static_cast<long long>(kStepPatience.count()));
}

bool ParseInt(const char* text, int minimum, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < minimum || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") return false;
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (name == "--trade")
            options.tradeFront = std::string("tcp://") + value;
        else if (name == "--quote")
            options.quoteFront = std::string("tcp://") + value;
        else if (name == "--seconds") {
            if (!ParseInt(value, 1, options.seconds)) return false;
        } else if (name == "--order-pause-ms") {
            if (!ParseInt(value, 0, options.orderPauseMs)) return false;
        } else if (name == "--resubscribe-seconds") {
            if (!ParseInt(value, 1, options.resubscribeSeconds)) return false;
        } else
            return false;
    }
    return !options.tradeFront.empty() && !options.quoteFront.empty();
}

template <std::size_t N>
void CopyText(char (&field)[N], const char* text) {
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// A lock, a condition and a wait with the step patience: what both sides share.
class CWaitable {
public:
    template <class Predicate>
    bool WaitFor(Predicate done) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kStepPatience, done);
    }

protected:
    template <class Change>
    void Note(Change change) {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
};

struct LoginState {
    bool connected = false;
    bool answered = false;
    int errorId = 0;
    int frontId = 0;
    int sessionId = 0;
};

class CSoakMarketData : public CNarvSqelMdSpi, public CWaitable {
public:
    bool WaitConnected() {
        return WaitFor([&] { return login_.connected; });
    }
    bool WaitLoggedIn() {
        return WaitFor([&] { return login_.answered; }) && login_.errorId == 0;
    }
    // Waits until `n` subscription answers (of either kind) have arrived since the start.
    bool WaitSubscriptionAnswers(long n) {
        return WaitFor([&] { return subscriptionAnswers_ >= n; });
    }
    bool WaitForLimits() {
        return WaitFor([&] { return lowLimit_ > 0 && highLimit_ > 0; });
    }
    double LowLimit() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lowLimit_;
    }
    double HighLimit() {
        std::lock_guard<std::mutex> lock(mutex_);
        return highLimit_;
    }
    long Quotes() const { return quotes_.load(); }
    long SubscriptionErrors() const { return subscriptionErrors_.load(); }
    long SubscriptionAnswers() {
        std::lock_guard<std::mutex> lock(mutex_);
        return subscriptionAnswers_;
    }
    long Disconnects() const { return disconnects_.load(); }

    void OnConnected() override {
        Note([&] { login_.connected = true; });
    }
    void OnDisconnected(int) override { ++disconnects_; }
    void OnLoginRsp(const NarvLoginRspRecord*, const NarvRspInfoRecord* info, int, bool isLast) override {
        Note([&] {
            if (info && info->ErrorID != 0) login_.errorId = info->ErrorID;
            login_.answered = login_.answered || isLast;
        });
    }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord*, const NarvRspInfoRecord* info, int, bool) override {
        SubscriptionAnswer(info);
    }
    void OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord*, const NarvRspInfoRecord* info, int, bool) override {
        SubscriptionAnswer(info);
    }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* quote) override {
        ++quotes_;
        if (!quote || std::strcmp(quote->InstrumentID, kTradedInstrument) != 0) return;
        Note([&] {
            lowLimit_ = quote->LowLimit;
            highLimit_ = quote->HighLimit;
        });
    }

private:
    void SubscriptionAnswer(const NarvRspInfoRecord* info) {
        if (info && info->ErrorID != 0) ++subscriptionErrors_;
        Note([&] { ++subscriptionAnswers_; });
    }

    LoginState login_;
    long subscriptionAnswers_ = 0;
    double lowLimit_ = 0;
    double highLimit_ = 0;
    std::atomic<long> quotes_{0};
    std::atomic<long> subscriptionErrors_{0};
    std::atomic<long> disconnects_{0};
};

// What the trading side knows of the one order it is working on.
struct WorkedOrder {
    std::string orderRef;
    std::string orderSysId;
    char status = '\0';
    bool rejected = false;       // the entry was refused
    bool cancelRefused = false;  // the cancel was refused (the order finished first)
};

class CSoakTrader : public CNarvSqelTraderSpi, public CWaitable {
public:
    bool WaitConnected() {
        return WaitFor([&] { return login_.connected; });
    }
    bool WaitLoggedIn() {
        return WaitFor([&] { return login_.answered; }) && login_.errorId == 0;
    }

    // From now on, pushes of this session's order `orderRef` are followed; those of earlier orders are not.
    void Watch(const std::string& orderRef) {
        Note([&] {
            worked_ = WorkedOrder();
            worked_.orderRef = orderRef;
        });
    }
    // Waits until the watched order has reached a status among `statuses`, or was refused.
    bool WaitForStatus(const char* statuses) {
        return WaitFor([&] {
            return worked_.rejected || worked_.cancelRefused ||
                   (worked_.status != '\0' && std::strchr(statuses, worked_.status) != nullptr);
        });
    }
    WorkedOrder Worked() {
        std::lock_guard<std::mutex> lock(mutex_);
        return worked_;
    }
    long OrderPushes() const { return orderPushes_.load(); }
    long TradePushes() const { return tradePushes_.load(); }
    long Disconnects() const { return disconnects_.load(); }

    void OnConnected() override {
        Note([&] { login_.connected = true; });
    }
    void OnDisconnected(int) override { ++disconnects_; }
    void OnLoginRsp(const NarvLoginRspRecord* rsp, const NarvRspInfoRecord* info, int, bool isLast) override {
        Note([&] {
            if (info && info->ErrorID != 0) login_.errorId = info->ErrorID;
            if (rsp) {
                login_.frontId = rsp->FrontID;
                login_.sessionId = rsp->SessionID;
            }
            login_.answered = login_.answered || isLast;
        });
    }
    void OnInputOrderRsp(const NarvInputOrderRecord* order, const NarvRspInfoRecord* info, int, bool) override {
        Note([&] {
            if (info && info->ErrorID != 0 && order && FieldText(order->OrderRef) == worked_.orderRef)
                worked_.rejected = true;
        });
    }
    void OnOrderCancelRsp(const NarvOrderActionRecord*, const NarvRspInfoRecord* info, int, bool) override {
        Note([&] {
            if (info && info->ErrorID != 0) worked_.cancelRefused = true;
        });
    }
    void OnOrderNty(const NarvOrderRecord* order) override {
        ++orderPushes_;
        if (!order) return;
        Note([&] {
            if (order->FrontID != login_.frontId || order->SessionID != login_.sessionId) return;
            if (FieldText(order->OrderRef) != worked_.orderRef) return;
            worked_.status = order->OrderStatus;
            if (order->OrderSysID[0] != '\0') worked_.orderSysId = FieldText(order->OrderSysID);
        });
    }
    void OnTradeNty(const NarvTradeRecord*) override { ++tradePushes_; }

private:
    LoginState login_;
    WorkedOrder worked_;
    std::atomic<long> orderPushes_{0};
    std::atomic<long> tradePushes_{0};
    std::atomic<long> disconnects_{0};
};

struct TradingTally {
    long rounds = 0;
    long entered = 0;
    long cancelled = 0;
    long filled = 0;
    long rejected = 0;
    long cancelsRefused = 0;
};

// The order loop. Returns an empty text when it ran to the deadline, else what stalled.
class CSoakOrderLoop {
public:
    CSoakOrderLoop(CNarvSqelTraderApi& api, CSoakTrader& trader, CSoakMarketData& market)
        : api_(api), trader_(trader), market_(market) {}

    // One round: a resting order entered and cancelled, or (every kFillEvery-th) a buy and a sell that fill.
    std::string Round(TradingTally& tally) {
        ++tally.rounds;
        if (tally.rounds % kFillEvery == 0) {
            std::string stalled = Fill('0', '0', market_.HighLimit(), tally);
            if (stalled.empty()) stalled = Fill('1', '1', market_.LowLimit(), tally);
            return stalled;
        }
        const std::string ref = NextRef();
        // A buy at the lower limit never meets an ask: it rests until cancelled.
        if (Enter(ref, '0', '0', market_.LowLimit()) != 0) return "order entry refused by the library";
        ++tally.entered;
        if (!trader_.WaitForStatus("35")) return "no queued order push for order " + ref;
        WorkedOrder worked = trader_.Worked();
        if (worked.rejected) {
            ++tally.rejected;
            return std::string();
        }
        NarvOrderActionRecord cancel{};
        CopyText(cancel.InvestorID, kInvestor);
        CopyText(cancel.ExchangeID, kTradedExchange);
        CopyText(cancel.InstrumentID, kTradedInstrument);
        CopyText(cancel.OrderSysID, worked.orderSysId.c_str());
        if (api_.ReqOrderCancel(&cancel, NextRequestId()) != 0) return "cancel refused by the library";
        if (!trader_.WaitForStatus("5")) return "no cancelled order push for order " + ref;
        if (trader_.Worked().cancelRefused)
            ++tally.cancelsRefused;
        else
            ++tally.cancelled;
        return std::string();
    }

private:
    // At a limit price that meets every resting order on the other side: fills at once.
    std::string Fill(char bsFlag, char ocFlag, double price, TradingTally& tally) {
        const std::string ref = NextRef();
        if (Enter(ref, bsFlag, ocFlag, price) != 0) return "order entry refused by the library";
        ++tally.entered;
        if (!trader_.WaitForStatus("05")) return "no filled order push for order " + ref;
        if (trader_.Worked().rejected)
            ++tally.rejected;
        else
            ++tally.filled;
        return std::string();
    }

    int Enter(const std::string& ref, char bsFlag, char ocFlag, double price) {
        trader_.Watch(ref);
        NarvInputOrderRecord order{};
        CopyText(order.InvestorID, kInvestor);
        CopyText(order.InstrumentID, kTradedInstrument);
        CopyText(order.ExchangeID, kTradedExchange);
        CopyText(order.OrderRef, ref.c_str());
        order.PriceType = '2';
        order.BSFlag = bsFlag;
        order.OCFlag = ocFlag;
        order.Price = price;
        order.Qty = 1;
        order.TimeCondition = '3';
        order.VolumeCondition = '1';
        return api_.ReqInputOrder(&order, NextRequestId());
    }

    std::string NextRef() { return std::to_string(++lastRef_); }
    int NextRequestId() { return ++lastRequestId_; }

    CNarvSqelTraderApi& api_;
    CSoakTrader& trader_;
    CSoakMarketData& market_;
    long lastRef_ = 0;
    int lastRequestId_ = 100;
};

NarvLoginReqRecord LoginRequest() {
    NarvLoginReqRecord login{};
    CopyText(login.FirmID, kFirm);
    CopyText(login.InvestorID, kInvestor);
    CopyText(login.InvestorPassword, kPassword);
    return login;
}

struct ReleaseMd {
    void operator()(CNarvSqelMdApi* api) const { api->Release(); }
};
struct ReleaseTrader {
    void operator()(CNarvSqelTraderApi* api) const { api->Release(); }
};

int Fault(const std::string& what) {
    std::fprintf(stderr, "narv_soak_driver: %s\n", what.c_str());
    return kExitFault;
}

int Run(const Options& options) {
    // The callback objects outlive the API objects (declared first, released last).
    CSoakMarketData market;
    CSoakTrader trader;
    std::unique_ptr<CNarvSqelMdApi, ReleaseMd> md(CNarvSqelMdApi::CreateSqelMdApi("", false, false));
    std::unique_ptr<CNarvSqelTraderApi, ReleaseTrader> td(CNarvSqelTraderApi::CreateSqelTraderApi(""));

    md->RegisterSpi(&market);
    md->RegisterFront(options.quoteFront.c_str());
    md->Init();
    td->RegisterSpi(&trader);
    td->RegisterFront(options.tradeFront.c_str());
    td->SetAccountFlowResume(2);  // only what this run causes
    td->SetMarketFlowResume(2);
    td->Init();

    if (!market.WaitConnected()) return Fault("the quote front was not reached");
    const NarvLoginReqRecord login = LoginRequest();
    if (md->ReqLogin(&login, 1) != 0 || !market.WaitLoggedIn()) return Fault("market-data login failed");
    if (md->ReqQuotSubscribe(kSubscribed, kSubscribedCount) != 0) return Fault("subscription refused");
    if (!market.WaitForLimits()) return Fault("no quote of the traded instrument");
    if (!trader.WaitConnected()) return Fault("the trade front was not reached");
    if (td->ReqLogin(&login, 1) != 0 || !trader.WaitLoggedIn()) return Fault("trading login failed");

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(options.seconds);
    auto nextResubscribe = start + std::chrono::seconds(options.resubscribeSeconds);
    auto nextProgress = start + std::chrono::minutes(1);
    long subscriptionRequests = kSubscribedCount;
    TradingTally tally;
    CSoakOrderLoop orders(*td, trader, market);

    auto report = [&](std::FILE* out, const char* prefix) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        std::fprintf(out,
                     "%s%.0f s: quotes %ld (%.0f/s), subscription answers %ld (errors %ld), orders entered %ld, "
                     "cancelled %ld, filled %ld, rejected %ld, cancels refused %ld, order pushes %ld, trade pushes "
                     "%ld, lost connections %ld\n",
                     prefix, elapsed, market.Quotes(), elapsed > 0 ? market.Quotes() / elapsed : 0.0,
                     market.SubscriptionAnswers(), market.SubscriptionErrors(), tally.entered, tally.cancelled,
                     tally.filled, tally.rejected, tally.cancelsRefused, trader.OrderPushes(), trader.TradePushes(),
                     market.Disconnects() + trader.Disconnects());
        std::fflush(out);
    };

    while (Clock::now() < deadline) {
        const std::string stalled = orders.Round(tally);
        if (!stalled.empty()) {
            report(stderr, "narv_soak_driver: stalled at ");
            return Fault(stalled);
        }
        if (market.Disconnects() + trader.Disconnects() != 0) {
            report(stderr, "narv_soak_driver: ");
            return Fault("a connection was lost");
        }
        const auto now = Clock::now();
        if (now >= nextResubscribe) {
            // Answers to the previous renewal are awaited first, so requests never pile up behind a slow front.
            if (!market.WaitSubscriptionAnswers(subscriptionRequests)) return Fault("subscription answers stalled");
            if (md->ReqQuotUnSubscribe(kSubscribed, kSubscribedCount) != 0 ||
                md->ReqQuotSubscribe(kSubscribed, kSubscribedCount) != 0)
                return Fault("subscription renewal refused");
            subscriptionRequests += 2 * kSubscribedCount;
            nextResubscribe = now + std::chrono::seconds(options.resubscribeSeconds);
        }
        if (now >= nextProgress) {
            report(stderr, "narv_soak_driver: ");
            nextProgress += std::chrono::minutes(1);
        }
        if (options.orderPauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.orderPauseMs));
    }
    report(stdout, "soak driver: ");
    if (market.Quotes() == 0 || tally.cancelled == 0 || tally.filled == 0)
        return Fault("quotes, cancels or fills did not flow");
    return kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
        Usage(help ? stdout : stderr);
        return help ? kExitDone : kExitUsage;
    }
    return Run(options);
}
