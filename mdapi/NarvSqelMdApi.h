// Exported interface of the market-data library narvmduserapi.
//
// The application creates the API object with CNarvSqelMdApi::CreateSqelMdApi,
// registers its callback object (a class derived from CNarvSqelMdSpi) and one
// or more front addresses, calls Init and, after OnConnected, ReqLogin; after
// a successful OnLoginRsp it subscribes instruments and receives their depth
// quotes through OnDepthQuoteNty. After a reconnection (OnDisconnected, then
// OnConnected) it logs in and subscribes again. Every callback runs on the
// library's network thread; a record handed to a callback is valid only while
// that callback runs.
//
// Both sides call each other by virtual-table position, so the order of the
// virtual operations below is the binary interface: never reorder, insert or
// remove one. Positions that this library does not serve keep their place
// (ReqExtN, RegisterExtN and OnSpareN, numbered by their position).

#ifndef NARV_SQEL_MD_API_H
#define NARV_SQEL_MD_API_H

#include "NarvSqelApiCommon.h"

#if defined(_WIN32)
#  if defined(NARV_MD_API_BUILD)
#    define NARV_MD_API_EXPORT __declspec(dllexport)
#  else
#    define NARV_MD_API_EXPORT __declspec(dllimport)
#  endif
#else
#  define NARV_MD_API_EXPORT __attribute__((visibility("default")))
#endif

/// Instrument of a subscription or unsubscription reply.
struct NarvQuotInstrumentRecord
{
    char SpareText1[31];      ///< empty
    char InstrumentID[81];    ///< instrument
};
NARV_ASSERT_SIZE(NarvQuotInstrumentRecord, 112);
NARV_ASSERT_OFFSET(NarvQuotInstrumentRecord, SpareText1, 0);
NARV_ASSERT_OFFSET(NarvQuotInstrumentRecord, InstrumentID, 31);

/// Depth quote of one instrument with five price levels. Prices and amounts
/// are as the exchange gives them (no scaling).
struct NarvDepthQuoteRecord
{
    char TradingDay[9];       ///< trading day, YYYYMMDD
    char SpareText1[31];      ///< empty
    char ExchangeID[9];       ///< exchange
    char SpareText2[31];      ///< empty
    double Price;             ///< last price
    double PreSettle;         ///< previous settlement price
    double PreClose;          ///< previous close
    double PreOI;             ///< previous open interest
    double OpenPrice;         ///< open
    double HighestPrice;      ///< high
    double LowestPrice;       ///< low
    int QtyTotal;             ///< volume (low 32 bits)
    char Reserved140[4];
    double Amount;            ///< turnover
    double OI;                ///< open interest
    double ClosePrice;        ///< last price once more
    double SettlePrice;       ///< settlement price
    double HighLimit;         ///< upper price limit
    double LowLimit;          ///< lower price limit
    double SpareValue1;       ///< 0
    double SpareValue2;       ///< 0
    char ModifyTime[9];       ///< time of the quote, HH:MM:SS
    char Reserved217[3];
    int SpareInt;             ///< 0
    double BidPrice;          ///< best bid
    int BidQty;               ///< quantity at the best bid
    char Reserved236[4];
    double AskPrice;          ///< best ask
    int AskQty;               ///< quantity at the best ask
    char Reserved252[4];
    double BidPrice2;         ///< second bid
    int BidQty2;              ///< quantity at the second bid
    char Reserved268[4];
    double AskPrice2;         ///< second ask
    int AskQty2;              ///< quantity at the second ask
    char Reserved284[4];
    double BidPrice3;         ///< third bid
    int BidQty3;              ///< quantity at the third bid
    char Reserved300[4];
    double AskPrice3;         ///< third ask
    int AskQty3;              ///< quantity at the third ask
    char Reserved316[4];
    double BidPrice4;         ///< fourth bid
    int BidQty4;              ///< quantity at the fourth bid
    char Reserved332[4];
    double AskPrice4;         ///< fourth ask
    int AskQty4;              ///< quantity at the fourth ask
    char Reserved348[4];
    double BidPrice5;         ///< fifth bid
    int BidQty5;              ///< quantity at the fifth bid
    char Reserved364[4];
    double AskPrice5;         ///< fifth ask
    int AskQty5;              ///< quantity at the fifth ask
    char Reserved380[4];
    double AvgPrice;          ///< 0
    char ModifyDate[9];       ///< date of the quote, YYYYMMDD
    char InstrumentID[81];    ///< instrument
    char Reserved482[86];     ///< zero
};
NARV_ASSERT_SIZE(NarvDepthQuoteRecord, 568);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, TradingDay, 0);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SpareText1, 9);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, ExchangeID, 40);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SpareText2, 49);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, Price, 80);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, PreSettle, 88);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, PreClose, 96);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, PreOI, 104);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, OpenPrice, 112);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, HighestPrice, 120);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, LowestPrice, 128);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, QtyTotal, 136);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, Amount, 144);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, OI, 152);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, ClosePrice, 160);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SettlePrice, 168);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, HighLimit, 176);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, LowLimit, 184);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SpareValue1, 192);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SpareValue2, 200);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, ModifyTime, 208);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, SpareInt, 220);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidPrice, 224);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidQty, 232);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskPrice, 240);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskQty, 248);
// Level k (2 to 5) sits at 256 + 32 * (k - 2): bid price, bid quantity, ask price, ask quantity.
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidPrice2, 256);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidQty2, 264);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskPrice2, 272);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskQty2, 280);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidPrice3, 288);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidQty3, 296);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskPrice3, 304);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskQty3, 312);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidPrice4, 320);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidQty4, 328);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskPrice4, 336);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskQty4, 344);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidPrice5, 352);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, BidQty5, 360);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskPrice5, 368);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AskQty5, 376);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, AvgPrice, 384);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, ModifyDate, 392);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, InstrumentID, 401);
NARV_ASSERT_OFFSET(NarvDepthQuoteRecord, Reserved482, 482);

/// Callbacks of the market-data library. Every operation has an empty
/// default, so an application overrides only those it needs. Reply callbacks
/// receive the record (may be null), the outcome (may be null), the request
/// id and isLast, which is always true. The object is not destroyed through
/// this interface.
///
/// Threads: every callback runs on the API object's network thread, one at a
/// time, in the order the messages were received; a callback that blocks
/// holds up all traffic of the object, heartbeats included. Inside a callback
/// the application may make requests, but must not call Release: hand that
/// to a thread of its own.
class CNarvSqelMdSpi
{
public:
    /// [0] The connection to a front is up; log in now.
    virtual void OnConnected() {}
    /// [1] The connection was lost (reason is always 0); the library reconnects by itself.
    virtual void OnDisconnected(int /*reason*/) {}
    /// [2] Never called; keeps the position.
    virtual void OnSpare2(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [3] Answer to ReqLogin.
    virtual void OnLoginRsp(const NarvLoginRspRecord* /*loginRsp*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [4] Answer to ReqLogout.
    virtual void OnLogoutRsp(const NarvLogoutRecord* /*logout*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [5] Never called; keeps the position.
    virtual void OnSpare5(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [6] Never called; keeps the position.
    virtual void OnSpare6(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [7] Answer to the subscription of one instrument by ReqQuotSubscribe.
    virtual void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* /*instrument*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [8] Answer to the unsubscription of one instrument by ReqQuotUnSubscribe.
    virtual void OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord* /*instrument*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [9] Never called; keeps the position.
    virtual void OnSpare9(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [10] Never called; keeps the position.
    virtual void OnSpare10(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [11] New depth quote of a subscribed instrument.
    virtual void OnDepthQuoteNty(const NarvDepthQuoteRecord* /*depthQuote*/) {}

protected:
    ~CNarvSqelMdSpi() = default;
};

/// The market-data API object. Created by CreateSqelMdApi and destroyed only
/// by Release. Request operations return 0 when accepted, -1 when they could
/// not be sent and -3 when the operation is not provided (no callback
/// follows).
class CNarvSqelMdApi
{
public:
    /// Creates an API object; the three arguments are accepted and ignored.
    static NARV_MD_API_EXPORT CNarvSqelMdApi* CreateSqelMdApi(const char* flowPath = "",
            bool usingUdp = false, bool multicast = false);

    /// Version of the library, "6.5.1".
    static NARV_MD_API_EXPORT const char* GetApiVersion();

    /// [0] Stops the library and frees this object; the pointer is invalid afterwards.
    virtual void Release() = 0;
    /// [1] Connects to the registered fronts.
    virtual void Init() = 0;
    /// [2] Returns 0 at once: the library has no thread to wait for.
    virtual int Join() = 0;
    /// [3] Trading day of the last login reply, YYYYMMDD; empty before.
    virtual const char* GetTradingDay() = 0;
    /// [4] Adds a front address: a six-character scheme prefix (such as tcp://) followed by host:port.
    virtual void RegisterFront(const char* frontAddress) = 0;
    /// [5] Accepted and ignored.
    virtual void RegisterExt5(const void* address) = 0;
    /// [6] Accepted and ignored.
    virtual void RegisterExt6(const void* address) = 0;
    /// [7] Sets the callback object; it must outlive this object or be replaced first.
    virtual void RegisterSpi(CNarvSqelMdSpi* spi) = 0;
    /// [8] Subscribes count instruments, one request each (ids cut to 15 characters); returns 0.
    virtual int ReqQuotSubscribe(const char* const* instrumentIDs, int count) = 0;
    /// [9] Unsubscribes count instruments, one request each (ids cut to 15 characters); returns 0.
    virtual int ReqQuotUnSubscribe(const char* const* instrumentIDs, int count) = 0;
    /// [10] Not provided: returns -3.
    virtual int ReqExt10(const char* const* instrumentIDs, int count) = 0;
    /// [11] Not provided: returns -3.
    virtual int ReqExt11(const char* const* instrumentIDs, int count) = 0;
    /// [12] Logs the investor in; answered through OnLoginRsp.
    virtual int ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) = 0;
    /// [13] Logs the session's investor out (the record is not read); answered through OnLogoutRsp.
    virtual int ReqLogout(const NarvLogoutRecord* logout, int requestId) = 0;
    /// [14] Not provided: returns -3.
    virtual int ReqExt14(const void* request, int requestId) = 0;

protected:
    ~CNarvSqelMdApi() = default;
};

#endif // NARV_SQEL_MD_API_H
