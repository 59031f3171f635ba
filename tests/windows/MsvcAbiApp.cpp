// A trading application as Microsoft's compiler builds one (clang-cl: Microsoft's object layout, name
// decoration and, on 32-bit, thiscall member functions), linked with lld-link against the DLLs'
// Microsoft import libraries. It includes the exported headers as they ship and uses no C++ standard
// library: only kernel32 and msvcrt (memset and memcpy for the records).
//
// Against the front simulator, whose host:port it reads from NARV_TRADE_FRONT and NARV_QUOTE_FRONT:
// logs the market-data library in, subscribes cu2601 and waits for a quote; logs the trading library
// in, enters a limit buy at the upper price limit and waits for the order return that says it is
// filled and for its trade return; releases both. Exit status 0 when every step was done, 1 otherwise,
// with a line naming the step on standard output.
//
// Threads: the callbacks run on the libraries' threads and only record what they saw and signal a
// kernel event; the entry point waits on those events.
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

extern "C" {
typedef void* Handle;
__declspec(dllimport) Handle __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(Handle file, const void* bytes, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) Handle
    __stdcall CreateEventA(void* security, int manualReset, int initialState, const char* name);
__declspec(dllimport) int __stdcall SetEvent(Handle event);
__declspec(dllimport) unsigned long __stdcall WaitForSingleObject(Handle object, unsigned long milliseconds);
__declspec(dllimport) unsigned long __stdcall GetEnvironmentVariableA(const char* name, char* value,
                                                                      unsigned long size);
__declspec(dllimport) __declspec(noreturn) void __stdcall ExitProcess(unsigned int status);
void* __cdecl memset(void* dest, int value, size_t count);
void* __cdecl memcpy(void* dest, const void* source, size_t count);
// The compiler's marker that floating point is used; Microsoft's C runtime would define it.
int _fltused = 0;
}

namespace {

const unsigned long kStdOutput = static_cast<unsigned long>(-11);
const unsigned long kWaitObject0 = 0;
const unsigned long kPatienceMs = 30000;  // a passing run never waits this long
const char kInstrument[] = "cu2601";
const char kExchange[] = "SHFE";
const char kOrderRef[] = "1";

unsigned long Length(const char* text) {
    unsigned long n = 0;
    while (text[n] != 0) ++n;
    return n;
}

bool Same(const char* a, const char* b) {
    while (*a != 0 && *a == *b) ++a, ++b;
    return *a == *b;
}

void Copy(char* dest, const char* text, unsigned long size) {
    unsigned long n = 0;
    for (; n + 1 < size && text[n] != 0; ++n) dest[n] = text[n];
    dest[n] = 0;
}

void Say(const char* line) {
    unsigned long written = 0;
    Handle out = GetStdHandle(kStdOutput);
    WriteFile(out, line, Length(line), &written, 0);
    WriteFile(out, "\n", 1, &written, 0);
}

__declspec(noreturn) void Fail(const char* step) {
    unsigned long written = 0;
    const char prefix[] = "msvc-abi-app: FAILED: ";
    WriteFile(GetStdHandle(kStdOutput), prefix, sizeof prefix - 1, &written, 0);
    Say(step);
    ExitProcess(1);
}

void Await(Handle event, const char* step) {
    if (WaitForSingleObject(event, kPatienceMs) != kWaitObject0) {
        Say("msvc-abi-app: no answer in time");
        Fail(step);
    }
}

// The front address "tcp://host:port" of the host:port an environment variable names.
void FrontFromEnvironment(const char* name, char (&front)[128]) {
    const char scheme[] = "tcp://";
    const unsigned long prefix = sizeof scheme - 1;
    Copy(front, scheme, sizeof front);
    const unsigned long n = GetEnvironmentVariableA(name, front + prefix, sizeof front - prefix);
    if (n == 0 || n >= sizeof front - prefix) Fail(name);
}

void FillLogin(NarvLoginReqRecord& login) {
    memset(&login, 0, sizeof login);
    Copy(login.FirmID, "0001", sizeof login.FirmID);
    Copy(login.InvestorID, "demo", sizeof login.InvestorID);
    Copy(login.InvestorPassword, "demo123", sizeof login.InvestorPassword);
}

bool Succeeded(const NarvRspInfoRecord* info) { return info == 0 || info->ErrorID == 0; }

class CMarketData : public CNarvSqelMdSpi {
public:
    CNarvSqelMdApi* api = 0;
    Handle quoted = CreateEventA(0, 1, 0, 0);
    Handle failed = CreateEventA(0, 1, 0, 0);
    NarvDepthQuoteRecord quote;

    void OnConnected() override {
        NarvLoginReqRecord login;
        FillLogin(login);
        if (api->ReqLogin(&login, 1) != 0) SetEvent(failed);
    }
    void OnLoginRsp(const NarvLoginRspRecord*, const NarvRspInfoRecord* info, int requestId, bool) override {
        const char* instruments[] = {kInstrument};
        if (requestId != 1 || !Succeeded(info) || api->ReqQuotSubscribe(instruments, 1) != 0) SetEvent(failed);
    }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* info, int,
                            bool) override {
        if (!Succeeded(info) || instrument == 0 || !Same(instrument->InstrumentID, kInstrument)) SetEvent(failed);
    }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* depthQuote) override {
        if (WaitForSingleObject(quoted, 0) == kWaitObject0 || !Same(depthQuote->InstrumentID, kInstrument)) return;
        memcpy(&quote, depthQuote, sizeof quote);
        SetEvent(quoted);
    }
};

class CTrader : public CNarvSqelTraderSpi {
public:
    CNarvSqelTraderApi* api = 0;
    Handle loggedIn = CreateEventA(0, 1, 0, 0);
    Handle filled = CreateEventA(0, 1, 0, 0);
    Handle traded = CreateEventA(0, 1, 0, 0);
    Handle failed = CreateEventA(0, 1, 0, 0);
    char orderSysId[21] = {};

    void OnConnected() override {
        NarvLoginReqRecord login;
        FillLogin(login);
        if (api->ReqLogin(&login, 1) != 0) SetEvent(failed);
    }
    void OnLoginRsp(const NarvLoginRspRecord* loginRsp, const NarvRspInfoRecord* info, int requestId,
                    bool isLast) override {
        if (requestId != 1 || !isLast || !Succeeded(info) || loginRsp == 0 || !Same(loginRsp->InvestorID, "demo")) {
            SetEvent(failed);
            return;
        }
        SetEvent(loggedIn);
    }
    // Called only when the back end refused the order.
    void OnInputOrderRsp(const NarvInputOrderRecord*, const NarvRspInfoRecord* info, int, bool) override {
        Say("msvc-abi-app: the order was refused");
        if (info != 0) Say(info->ErrorMsg);
        SetEvent(failed);
    }
    void OnOrderNty(const NarvOrderRecord* order) override {
        if (!Same(order->OrderRef, kOrderRef)) return;
        if (order->OrderStatus == '5') SetEvent(failed);  // cancelled instead of filled
        if (order->OrderStatus == '0' && order->Qty == 1) {
            Copy(orderSysId, order->OrderSysID, sizeof orderSysId);
            SetEvent(filled);
        }
    }
    void OnTradeNty(const NarvTradeRecord* trade) override {
        if (Same(trade->OrderRef, kOrderRef) && trade->Qty == 1) SetEvent(traded);
    }
};

// Waits for `done`, failing at once when `failed` is signalled first.
void AwaitUnlessFailed(Handle done, Handle failed, const char* step) {
    if (WaitForSingleObject(failed, 0) == kWaitObject0) Fail(step);
    Await(done, step);
    if (WaitForSingleObject(failed, 0) == kWaitObject0) Fail(step);
}

void Run() {
    char tradeFront[128];
    char quoteFront[128];
    FrontFromEnvironment("NARV_TRADE_FRONT", tradeFront);
    FrontFromEnvironment("NARV_QUOTE_FRONT", quoteFront);
    if (!Same(CNarvSqelTraderApi::GetApiVersion(), "6.5.1") || !Same(CNarvSqelMdApi::GetApiVersion(), "6.5.1"))
        Fail("GetApiVersion");

    CMarketData marketData;
    marketData.api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
    if (marketData.api == 0) Fail("CreateSqelMdApi");
    marketData.api->RegisterSpi(&marketData);
    marketData.api->RegisterFront(quoteFront);
    marketData.api->Init();
    AwaitUnlessFailed(marketData.quoted, marketData.failed, "market data: log in, subscribe, first quote");
    Say("msvc-abi-app: market data logged in, cu2601 subscribed, quote received");

    CTrader trader;
    trader.api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    if (trader.api == 0) Fail("CreateSqelTraderApi");
    trader.api->RegisterSpi(&trader);
    trader.api->SetAccountFlowResume(2);  // the order and trade returns of this run
    trader.api->RegisterFront(tradeFront);
    trader.api->Init();
    AwaitUnlessFailed(trader.loggedIn, trader.failed, "trading: log in");
    if (trader.api->GetTradingDay()[0] == 0) Fail("GetTradingDay after login");
    Say("msvc-abi-app: trading logged in");

    NarvInputOrderRecord order;
    memset(&order, 0, sizeof order);
    Copy(order.InvestorID, "demo", sizeof order.InvestorID);
    Copy(order.OrderRef, kOrderRef, sizeof order.OrderRef);
    order.PriceType = '2';  // limit
    order.BSFlag = '0';     // buy
    order.OCFlag = '0';     // open
    // The upper price limit lies above every ask of the day: the order fills at once.
    order.Price = marketData.quote.HighLimit > 0 ? marketData.quote.HighLimit : marketData.quote.AskPrice;
    order.Qty = 1;
    order.RequestID = 2;
    Copy(order.ExchangeID, kExchange, sizeof order.ExchangeID);
    Copy(order.InstrumentID, kInstrument, sizeof order.InstrumentID);
    if (trader.api->ReqInputOrder(&order, 2) != 0) Fail("ReqInputOrder");
    AwaitUnlessFailed(trader.filled, trader.failed, "trading: order return of the filled order");
    AwaitUnlessFailed(trader.traded, trader.failed, "trading: trade return");
    Say("msvc-abi-app: order filled, order and trade returns received");

    trader.api->Release();
    marketData.api->Release();
    Say("msvc-abi-app: both API objects released; every step done");
}

}  // namespace

// The program's entry point: no C runtime start-up runs before it.
extern "C" void __cdecl AppMain() {
    Run();
    ExitProcess(0);
}
