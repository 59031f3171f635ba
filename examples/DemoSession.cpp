#include "DemoSession.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "DemoExitCodes.h"
#include "RecordText.h"

namespace {

// A step that could not be done: the run ends with this exit status and message.
class CDemoFailure : public std::runtime_error {
public:
    CDemoFailure(int exitCode, const std::string& message) : std::runtime_error(message), exitCode_(exitCode) {}
    int ExitCode() const { return exitCode_; }

private:
    int exitCode_;
};

// Prices of the two demo orders, from the latest quote of their instruments.
// The order meant to fill bids well above the best ask: the market moves a tick or two between the
// quote and the order, and a limit order trades at the book's prices, not at its own.
constexpr int kFillMarginTicks = 10;

template <std::size_t N>
void Copy(char (&field)[N], const std::string& text) {
    std::strncpy(field, text.c_str(), N - 1);
    field[N - 1] = '\0';
}

double OnTick(double price, double tick) { return tick > 0 ? std::round(price / tick) * tick : price; }

std::string Failed(const std::string& what, const DemoAnswer& answer) {
    return what + " failed with error " + std::to_string(answer.errorId) + ": " + answer.error;
}

}  // namespace

CDemoSession::CDemoSession(const DemoOptions& options, CDemoConsole& console)
    : options_(options),
      console_(console),
      timeout_(options.stepTimeoutSeconds),
      marketData_(console, options.quotesPerInstrument),
      trader_(console) {}

int CDemoSession::Run() {
    try {
        Connect();
        Login();
        LookUpInstruments();
        WatchQuotes();
        EnterOrderThatFills();
        EnterOrderAndCancelIt();
        QueryAccount();
        Unsubscribe();
        Logout();
    } catch (const CDemoFailure& failure) {
        console_.Failure(failure.what());
        return failure.ExitCode();
    }
    console_.Step("done");
    return kDemoSucceeded;
}

template <class State, class Done>
void CDemoSession::Await(CDemoState<State>& state, Done done, const std::string& what) {
    bool lost = false;
    const bool arrived = state.WaitFor(
        [&](const State& s) {
            lost = s.lost;
            return lost || done(s);
        },
        timeout_);
    // What arrived before the connection went down still counts.
    if (arrived && state.Read([&](const State& s) { return done(s); })) return;
    if (lost) throw CDemoFailure(kDemoNoConnection, "connection lost while waiting for " + what);
    throw CDemoFailure(kDemoTimedOut,
                       "no " + what + " within " + std::to_string(timeout_.count()) + " s (see --timeout)");
}

template <class State>
void CDemoSession::Require(CDemoState<State>& state, const char* front, int result, const std::string& call) {
    if (result == 0) return;
    // Without a connection a library refuses every request with -1, possibly before the loss itself is
    // reported: then the lost connection is the news, once it arrives.
    const std::chrono::seconds grace = result == -1 ? timeout_ : std::chrono::seconds(0);
    if (state.WaitFor([](const State& s) { return s.lost; }, grace))
        throw CDemoFailure(kDemoNoConnection, std::string("connection to the ") + front + " front lost before " + call);
    throw CDemoFailure(kDemoRefused, call + " was refused by the library (result " + std::to_string(result) + ")");
}

void CDemoSession::RequireTrade(int result, const std::string& call) {
    Require(trader_.State(), "trade", result, call);
}

void CDemoSession::RequireQuote(int result, const std::string& call) {
    Require(marketData_.State(), "quote", result, call);
}

void CDemoSession::Connect() {
    console_.Step("connecting: trade front " + options_.tradeFront + ", quote front " + options_.quoteFront +
                  " (libraries " + CNarvSqelTraderApi::GetApiVersion() + " and " + CNarvSqelMdApi::GetApiVersion() +
                  ")");
    // Only the pushes of this run are wanted: the account flow from now on, the market flow not at all.
    trader_.Api().SetAccountFlowResume(2);
    trader_.Api().SetMarketFlowResume(-1);
    trader_.Api().RegisterFront(options_.tradeFront.c_str());
    marketData_.Api().RegisterFront(options_.quoteFront.c_str());
    trader_.Api().Init();
    marketData_.Api().Init();
    auto up = [](const auto& s) { return s.connected; };
    const auto unreachable = [&](const std::string& front) {
        return CDemoFailure(kDemoNoConnection,
                            "cannot reach " + front + " within " + std::to_string(timeout_.count()) + " s");
    };
    if (!trader_.State().WaitFor(up, timeout_)) throw unreachable("the trade front " + options_.tradeFront);
    if (!marketData_.State().WaitFor(up, timeout_)) throw unreachable("the quote front " + options_.quoteFront);
}

void CDemoSession::Login() {
    console_.Step("logging in as " + options_.investorId);
    NarvLoginReqRecord login{};
    Copy(login.FirmID, options_.firmId);
    Copy(login.InvestorID, options_.investorId);
    Copy(login.InvestorPassword, options_.password);
    RequireTrade(trader_.Api().ReqLogin(&login, trader_.NextRequestId()), "trade ReqLogin");
    RequireQuote(marketData_.Api().ReqLogin(&login, 1), "quote ReqLogin");
    auto answered = [](const auto& s) { return s.login.done; };
    Await(trader_.State(), answered, "trade login answer");
    Await(marketData_.State(), answered, "quote login answer");
    const DemoAnswer tradeLogin = trader_.State().Read([](const DemoTraderState& s) { return s.login; });
    if (tradeLogin.errorId != 0) throw CDemoFailure(kDemoRefused, Failed("trade login", tradeLogin));
    const DemoAnswer quoteLogin = marketData_.State().Read([](const DemoMarketDataState& s) { return s.login; });
    if (quoteLogin.errorId != 0) throw CDemoFailure(kDemoRefused, Failed("quote login", quoteLogin));
}

void CDemoSession::LookUpInstruments() {
    console_.Step("looking up the instruments");
    for (const std::string& id : options_.instruments) {
        NarvInstrumentQueryRecord query{};
        Copy(query.InstrumentID, id);
        Query(("instrument " + id).c_str(),
              [&](int requestId) { return trader_.Api().ReqInstrumentQuery(&query, requestId); });
        const bool known = trader_.State().Read([&](const DemoTraderState& s) { return s.instruments.count(id) > 0; });
        if (!known) throw CDemoFailure(kDemoRefused, "the trade front does not know instrument " + id);
    }
}

void CDemoSession::WatchQuotes() {
    console_.Step("subscribing and watching " + std::to_string(options_.quotesPerInstrument) + " quote(s) each");
    std::vector<const char*> ids;
    for (const std::string& id : options_.instruments) ids.push_back(id.c_str());
    RequireQuote(marketData_.Api().ReqQuotSubscribe(ids.data(), static_cast<int>(ids.size())), "ReqQuotSubscribe");
    const auto& instruments = options_.instruments;
    Await(
        marketData_.State(),
        [&](const DemoMarketDataState& s) {
            return !s.anonymousError.empty() ||
                   std::all_of(instruments.begin(), instruments.end(), [&](const std::string& id) {
                       const auto found = s.subscriptions.find(id);
                       return found != s.subscriptions.end() && found->second.done;
                   });
        },
        "subscription answers");
    marketData_.State().Read([&](const DemoMarketDataState& s) {
        if (!s.anonymousError.empty()) throw CDemoFailure(kDemoRefused, "subscription failed with " + s.anonymousError);
        for (const auto& [id, answer] : s.subscriptions)
            if (answer.errorId != 0) throw CDemoFailure(kDemoRefused, Failed("subscription of " + id, answer));
        return 0;
    });
    const int wanted = options_.quotesPerInstrument;
    Await(
        marketData_.State(),
        [&](const DemoMarketDataState& s) {
            return std::all_of(instruments.begin(), instruments.end(), [&](const std::string& id) {
                const auto found = s.quoteCounts.find(id);
                return found != s.quoteCounts.end() && found->second >= wanted;
            });
        },
        std::to_string(wanted) + " quote(s) of every instrument");
}

int CDemoSession::EnterLimitBuy(const std::string& orderRef, const std::string& instrumentId, double price) {
    const std::string exchangeId =
        trader_.State().Read([&](const DemoTraderState& s) { return s.instruments.at(instrumentId).exchangeId; });
    NarvInputOrderRecord order{};
    Copy(order.InvestorID, options_.investorId);
    Copy(order.OrderRef, orderRef);
    order.PriceType = '2';  // limit
    order.BSFlag = '0';     // buy
    order.OCFlag = '0';     // open
    order.Price = price;
    order.Qty = 1;
    Copy(order.ExchangeID, exchangeId);
    Copy(order.InstrumentID, instrumentId);
    const int requestId = trader_.NextRequestId();
    order.RequestID = requestId;
    console_.Line("demo", "order " + orderRef + ": buy open 1 " + instrumentId + " on " + exchangeId + " @ " +
                              PriceText(price) + " (limit)");
    RequireTrade(trader_.Api().ReqInputOrder(&order, requestId), "ReqInputOrder");
    return requestId;
}

void CDemoSession::EnterOrderThatFills() {
    const std::string& id = options_.instruments.front();
    console_.Step("entering a limit order on " + id + " that fills at once");
    const NarvDepthQuoteRecord quote =
        marketData_.State().Read([&](const DemoMarketDataState& s) { return s.latestQuotes.at(id); });
    const double tick = trader_.State().Read([&](const DemoTraderState& s) { return s.instruments.at(id).tick; });
    const double reference = quote.AskPrice > 0 ? quote.AskPrice : quote.Price;
    double price = OnTick(reference + kFillMarginTicks * tick, tick);
    if (quote.HighLimit > 0) price = std::min(price, quote.HighLimit);

    const std::string ref = "1";
    const int requestId = EnterLimitBuy(ref, id, price);
    auto settled = [&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(requestId);
        if (rejected != s.answers.end() && rejected->second.done) return true;
        const auto order = s.orders.find(ref);
        if (order == s.orders.end()) return false;
        if (order->second.status == '5') return true;  // cancelled instead of filled
        const auto traded = s.tradedQty.find(order->second.orderSysId);
        return order->second.status == '0' && traded != s.tradedQty.end() && traded->second >= 1;
    };
    Await(trader_.State(), settled, "fill of order " + ref);
    trader_.State().Read([&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(requestId);
        if (rejected != s.answers.end()) throw CDemoFailure(kDemoRefused, Failed("order " + ref, rejected->second));
        if (s.orders.at(ref).status != '0')
            throw CDemoFailure(kDemoRefused, "order " + ref + " was cancelled by the front instead of filled");
        return 0;
    });
}

void CDemoSession::EnterOrderAndCancelIt() {
    const std::string& id = options_.instruments.size() > 1 ? options_.instruments[1] : options_.instruments.front();
    console_.Step("entering a limit order on " + id + " that rests, then cancelling it");
    const NarvDepthQuoteRecord quote =
        marketData_.State().Read([&](const DemoMarketDataState& s) { return s.latestQuotes.at(id); });
    const double tick = trader_.State().Read([&](const DemoTraderState& s) { return s.instruments.at(id).tick; });
    // The lowest price the day allows: no seller comes down to it while the demo runs.
    double price = quote.LowLimit;
    if (price <= 0) price = OnTick(quote.BidPrice - kFillMarginTicks * tick, tick);

    const std::string ref = "2";
    const int requestId = EnterLimitBuy(ref, id, price);
    auto working = [&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(requestId);
        if (rejected != s.answers.end() && rejected->second.done) return true;
        // Until the exchange has numbered the order ('a', accepted) there is nothing to cancel it by.
        const auto order = s.orders.find(ref);
        return order != s.orders.end() && !order->second.orderSysId.empty() && order->second.status != 0 &&
               order->second.status != 'a';
    };
    Await(trader_.State(), working, "order " + ref + " working at the exchange");
    const auto [sysId, status] = trader_.State().Read([&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(requestId);
        if (rejected != s.answers.end()) throw CDemoFailure(kDemoRefused, Failed("order " + ref, rejected->second));
        const DemoOrder& order = s.orders.at(ref);
        return std::make_pair(order.orderSysId, order.status);
    });
    if (status == '0' || status == '5')
        throw CDemoFailure(kDemoRefused,
                           "order " + ref + " ended (" + OrderStatusText(status) + ") before it could be cancelled");

    NarvOrderActionRecord cancel{};
    Copy(cancel.InvestorID, options_.investorId);
    Copy(cancel.OrderRef, ref);
    trader_.State().Read([&](const DemoTraderState& s) {
        cancel.FrontID = s.frontId;
        cancel.SessionID = s.sessionId;
        return 0;
    });
    Copy(cancel.ExchangeID,
         trader_.State().Read([&](const DemoTraderState& s) { return s.instruments.at(id).exchangeId; }));
    Copy(cancel.OrderSysID, sysId);
    Copy(cancel.InstrumentID, id);
    const int cancelId = trader_.NextRequestId();
    console_.Line("demo", "cancelling order " + ref + " [" + sysId + "]");
    RequireTrade(trader_.Api().ReqOrderCancel(&cancel, cancelId), "ReqOrderCancel");
    auto cancelled = [&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(cancelId);
        return (rejected != s.answers.end() && rejected->second.done) || s.orders.at(ref).status == '5';
    };
    Await(trader_.State(), cancelled, "cancellation of order " + ref);
    trader_.State().Read([&](const DemoTraderState& s) {
        const auto rejected = s.answers.find(cancelId);
        if (rejected != s.answers.end() && s.orders.at(ref).status != '5')
            throw CDemoFailure(kDemoRefused, Failed("cancel of order " + ref, rejected->second));
        return 0;
    });
}

template <class Request>
void CDemoSession::Query(const char* what, Request request) {
    const int requestId = trader_.NextRequestId();
    RequireTrade(request(requestId), std::string("the ") + what + " query");
    Await(
        trader_.State(),
        [&](const DemoTraderState& s) {
            const auto answer = s.answers.find(requestId);
            return answer != s.answers.end() && answer->second.done;
        },
        std::string("answer to the ") + what + " query");
    const DemoAnswer answer = trader_.State().Read([&](const DemoTraderState& s) { return s.answers.at(requestId); });
    if (answer.errorId != 0) throw CDemoFailure(kDemoRefused, Failed(std::string(what) + " query", answer));
    if (answer.rows == 0) console_.Line("trade", std::string("no ") + what);
}

void CDemoSession::QueryAccount() {
    console_.Step("positions");
    NarvPosiQueryRecord positions{};
    Query("positions", [&](int id) { return trader_.Api().ReqPosiQuery(&positions, id); });
    console_.Step("funds");
    NarvFundQueryRecord funds{};
    Query("funds", [&](int id) { return trader_.Api().ReqFundQuery(&funds, id); });
    console_.Step("orders");
    NarvOrderQueryRecord orders{};
    Query("orders", [&](int id) { return trader_.Api().ReqOrderQuery(&orders, id); });
    console_.Step("trades");
    NarvTradeQueryRecord trades{};
    Query("trades", [&](int id) { return trader_.Api().ReqTradeQuery(&trades, id); });
}

void CDemoSession::Unsubscribe() {
    console_.Step("unsubscribing");
    std::vector<const char*> ids;
    for (const std::string& id : options_.instruments) ids.push_back(id.c_str());
    RequireQuote(marketData_.Api().ReqQuotUnSubscribe(ids.data(), static_cast<int>(ids.size())), "ReqQuotUnSubscribe");
    const auto& instruments = options_.instruments;
    Await(
        marketData_.State(),
        [&](const DemoMarketDataState& s) {
            return std::all_of(instruments.begin(), instruments.end(), [&](const std::string& id) {
                const auto found = s.unsubscriptions.find(id);
                return found != s.unsubscriptions.end() && found->second.done;
            });
        },
        "unsubscription answers");
}

void CDemoSession::Logout() {
    console_.Step("logging out");
    NarvLogoutRecord logout{};
    RequireTrade(trader_.Api().ReqLogout(&logout, trader_.NextRequestId()), "trade ReqLogout");
    RequireQuote(marketData_.Api().ReqLogout(&logout, 2), "quote ReqLogout");
    auto answered = [](const auto& s) { return s.logout.done; };
    Await(trader_.State(), answered, "trade logout answer");
    Await(marketData_.State(), answered, "quote logout answer");
    const DemoAnswer tradeLogout = trader_.State().Read([](const DemoTraderState& s) { return s.logout; });
    if (tradeLogout.errorId != 0) throw CDemoFailure(kDemoRefused, Failed("trade logout", tradeLogout));
    const DemoAnswer quoteLogout = marketData_.State().Read([](const DemoMarketDataState& s) { return s.logout; });
    if (quoteLogout.errorId != 0) throw CDemoFailure(kDemoRefused, Failed("quote logout", quoteLogout));
}
