// The demo's steps, in order, against both libraries. Each step waits a bounded time for what it needs;
// the first step that fails ends the run with its exit status (DemoExitCodes.h).
#pragma once

#include <chrono>
#include <string>

#include "DemoConsole.h"
#include "DemoMarketData.h"
#include "DemoOptions.h"
#include "DemoTrader.h"

class CDemoSession {
public:
    CDemoSession(const DemoOptions& options, CDemoConsole& console);
    int Run();  // exit status

private:
    void Connect();
    void Login();
    void LookUpInstruments();
    void WatchQuotes();
    void EnterOrderThatFills();
    void EnterOrderAndCancelIt();
    void QueryAccount();
    void Unsubscribe();
    void Logout();

    // Enters a one-lot limit buy to open; returns the request id.
    int EnterLimitBuy(const std::string& orderRef, const std::string& instrumentId, double price);
    // Runs one query and waits for its last answer.
    template <class Request>
    void Query(const char* what, Request request);
    template <class State, class Done>
    void Await(CDemoState<State>& state, Done done, const std::string& what);
    // A request's result: anything but 0 ends the run, as a lost connection when that is the cause.
    template <class State>
    void Require(CDemoState<State>& state, const char* front, int result, const std::string& call);
    void RequireTrade(int result, const std::string& call);
    void RequireQuote(int result, const std::string& call);

    const DemoOptions& options_;
    CDemoConsole& console_;
    const std::chrono::seconds timeout_;
    CDemoMarketData marketData_;  // released after the trader, in reverse order of creation
    CDemoTrader trader_;
};
