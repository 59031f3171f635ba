// What the small examples share: the front to talk to, the simulator's investor, logging in and entering a
// limit order. main() waits for what a callback has seen through CDemoState (DemoState.h, shared with the
// demo). Copy both with an example.
//
// Thread safety: the functions keep no state; CDemoState may be used from any thread (callbacks change
// its state through Update, main() waits through WaitFor and looks through Read).
#pragma once

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "DemoState.h"
#include "NarvSqelTraderApi.h"

// Exit statuses, as narv_demo's: every step done, a request refused, an answer that did not come in time.
constexpr int kExampleDone = 0;
constexpr int kExampleRefused = 1;
constexpr int kExampleTimedOut = 3;

// The investor narv_front_simulator serves unless configured otherwise.
constexpr char kExampleInvestor[] = "demo";
constexpr char kExamplePassword[] = "demo123";

// "--trade-front HOST:PORT" from the command line, or the simulator started as the user guide shows.
inline std::string ExampleTradeFront(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--trade-front") == 0) return std::string("tcp://") + argv[i + 1];
    return "tcp://127.0.0.1:7001";
}

// Copies text into a record's fixed field, always terminated: a text too long is cut, never overruns.
template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text);
}

// Prints a refusal and returns true; a reply without response info, or with ErrorID 0, is a success.
// ErrorMsg is the back end's text in GBK; convert it (iconv) before showing it to a person.
inline bool ExampleRefused(const char* what, const NarvRspInfoRecord* info) {
    if (!info || info->ErrorID == 0) return false;
    std::printf("%s refused: ErrorID %d\n", what, info->ErrorID);
    return true;
}

// Logs in as the simulator's investor. Call it from OnConnected, after every connection: the library
// never logs in by itself.
inline void ExampleLogin(CNarvSqelTraderApi* api, int requestId) {
    NarvLoginReqRecord login{};
    CopyField(login.InvestorID, kExampleInvestor);
    CopyField(login.InvestorPassword, kExamplePassword);
    if (api->ReqLogin(&login, requestId) != 0) std::puts("login not sent: the connection is gone again");
}

// Enters a limit order to buy and open one lot. Returns the request's result: 0 sent, -1 no connection.
inline int ExampleLimitBuy(CNarvSqelTraderApi* api, const char* orderRef, const char* instrument, const char* exchange,
                           double price, int requestId) {
    NarvInputOrderRecord order{};
    CopyField(order.InvestorID, kExampleInvestor);
    CopyField(order.InstrumentID, instrument);
    CopyField(order.ExchangeID, exchange);
    CopyField(order.OrderRef, orderRef);  // unique among this session's live orders
    order.PriceType = '2';                // limit
    order.BSFlag = '0';                   // buy
    order.OCFlag = '0';                   // open
    order.Price = price;
    order.Qty = 1;
    order.RequestID = requestId;
    std::printf("order %s: buy open 1 %s @ %.2f\n", orderRef, instrument, price);
    return api->ReqInputOrder(&order, requestId);
}

// How long main() waits for one answer before it gives up.
constexpr std::chrono::seconds kExampleAnswerWait{10};
