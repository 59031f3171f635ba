// The demo's side of the trading library: owns the API object, prints every answer and push as it
// arrives, and keeps what the demo's steps wait for.
#pragma once

#include <map>
#include <string>

#include "DemoConsole.h"
#include "DemoState.h"
#include "NarvSqelTraderApi.h"

struct DemoOrder {
    char status = 0;         // exported OrderStatus code of the last push
    std::string orderSysId;  // the exchange's number, needed to cancel
    int qtyTraded = 0;       // as the order pushes report it
};

struct DemoInstrument {
    std::string exchangeId;
    double tick = 0.0;
};

struct DemoTraderState {
    bool connected = false;
    bool lost = false;  // the connection went down after it was up
    DemoAnswer login;
    int frontId = 0;
    int sessionId = 0;
    DemoAnswer logout;
    std::map<std::string, DemoOrder> orders;  // this session's orders by OrderRef
    std::map<std::string, int> tradedQty;     // summed over the trade pushes, by OrderSysID
    std::map<std::string, DemoInstrument> instruments;
    std::map<int, DemoAnswer> answers;  // by request id: queries, and rejected orders and cancels
};

class CDemoTrader final : public CNarvSqelTraderSpi {
public:
    explicit CDemoTrader(CDemoConsole& console);
    ~CDemoTrader();  // releases the API object: no callback runs after this
    CDemoTrader(const CDemoTrader&) = delete;
    CDemoTrader& operator=(const CDemoTrader&) = delete;

    CNarvSqelTraderApi& Api() { return *api_; }
    CDemoState<DemoTraderState>& State() { return state_; }
    int NextRequestId() { return ++lastRequestId_; }

    void OnConnected() override;
    void OnDisconnected(int reason) override;
    void OnLoginRsp(const NarvLoginRspRecord* loginRsp, const NarvRspInfoRecord* rspInfo, int requestId,
                    bool isLast) override;
    void OnLogoutRsp(const NarvLogoutRecord* logout, const NarvRspInfoRecord* rspInfo, int requestId,
                     bool isLast) override;
    void OnInputOrderRsp(const NarvInputOrderRecord* inputOrder, const NarvRspInfoRecord* rspInfo, int requestId,
                         bool isLast) override;
    void OnOrderCancelRsp(const NarvOrderActionRecord* orderAction, const NarvRspInfoRecord* rspInfo, int requestId,
                          bool isLast) override;
    void OnOrderQueryRsp(const NarvOrderRecord* order, const NarvRspInfoRecord* rspInfo, int requestId,
                         bool isLast) override;
    void OnTradeQueryRsp(const NarvTradeRecord* trade, const NarvRspInfoRecord* rspInfo, int requestId,
                         bool isLast) override;
    void OnPosiQueryRsp(const NarvPosiRecord* posi, const NarvRspInfoRecord* rspInfo, int requestId,
                        bool isLast) override;
    void OnFundQueryRsp(const NarvFundRecord* fund, const NarvRspInfoRecord* rspInfo, int requestId,
                        bool isLast) override;
    void OnInstrumentQueryRsp(const NarvInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo, int requestId,
                              bool isLast) override;
    void OnOrderNty(const NarvOrderRecord* order) override;
    void OnTradeNty(const NarvTradeRecord* trade) override;

private:
    // Records one answer of a request: its row (if any), its error (if any), and whether it was the last.
    void Answer(int requestId, bool hasRow, const NarvRspInfoRecord* rspInfo, bool isLast);
    // The same for a query, whose error is printed here (rejections print their own line).
    void QueryAnswer(int requestId, bool hasRow, const NarvRspInfoRecord* rspInfo, bool isLast);
    bool IsOwnSession(int frontId, int sessionId);

    CDemoConsole& console_;
    CNarvSqelTraderApi* api_;
    CDemoState<DemoTraderState> state_;
    int lastRequestId_ = 0;  // used by the main thread only
};
