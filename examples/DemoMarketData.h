// The demo's side of the market-data library: owns the API object, prints the first few quotes of every
// instrument, and keeps the latest quote of each for pricing the demo's orders.
#pragma once

#include <map>
#include <string>

#include "DemoConsole.h"
#include "DemoState.h"
#include "NarvSqelMdApi.h"

struct DemoMarketDataState {
    bool connected = false;
    bool lost = false;  // the connection went down after it was up
    DemoAnswer login;
    DemoAnswer logout;
    std::map<std::string, DemoAnswer> subscriptions;    // by instrument
    std::map<std::string, DemoAnswer> unsubscriptions;  // by instrument
    std::string anonymousError;                         // an error answer that named no instrument
    std::map<std::string, int> quoteCounts;
    std::map<std::string, NarvDepthQuoteRecord> latestQuotes;
};

class CDemoMarketData final : public CNarvSqelMdSpi {
public:
    CDemoMarketData(CDemoConsole& console, int quotesToPrint);
    ~CDemoMarketData();  // releases the API object: no callback runs after this
    CDemoMarketData(const CDemoMarketData&) = delete;
    CDemoMarketData& operator=(const CDemoMarketData&) = delete;

    CNarvSqelMdApi& Api() { return *api_; }
    CDemoState<DemoMarketDataState>& State() { return state_; }

    void OnConnected() override;
    void OnDisconnected(int reason) override;
    void OnLoginRsp(const NarvLoginRspRecord* loginRsp, const NarvRspInfoRecord* rspInfo, int requestId,
                    bool isLast) override;
    void OnLogoutRsp(const NarvLogoutRecord* logout, const NarvRspInfoRecord* rspInfo, int requestId,
                     bool isLast) override;
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo, int requestId,
                            bool isLast) override;
    void OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo,
                              int requestId, bool isLast) override;
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* depthQuote) override;

private:
    void SubscriptionAnswer(const char* what, std::map<std::string, DemoAnswer> DemoMarketDataState::*answers,
                            const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo, bool isLast);

    CDemoConsole& console_;
    const int quotesToPrint_;
    CNarvSqelMdApi* api_;
    CDemoState<DemoMarketDataState> state_;
};
