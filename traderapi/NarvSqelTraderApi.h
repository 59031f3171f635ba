// Exported interface of the trading library narvtraderapi.
//
// The application creates the API object with
// CNarvSqelTraderApi::CreateSqelTraderApi, registers its callback object (a
// class derived from CNarvSqelTraderSpi) and one or more front addresses,
// calls Init and, after OnConnected, ReqLogin. Every answer and push arrives
// through the callback object on a thread of the library; a record handed to
// a callback is valid only while that callback runs.
//
// The library calls into the application by virtual-table position and the
// application calls into the library the same way, so the order of the
// virtual operations below is the binary interface: never reorder, insert or
// remove one. Positions that this library does not serve keep their place
// (ReqExtN / OnExtNRsp, numbered by the request's position, and OnSpareN).
//
// Request operations return 0 when the request was accepted (sent, or
// answered by the library itself), -1 when it could not be sent (no
// connection or session) and -3 when the operation is not provided (no
// callback follows). Reply callbacks receive the record (may be null), the
// outcome (may be null), the request id of the request and isLast, true on
// the last record of an answer.

#ifndef NARV_SQEL_TRADER_API_H
#define NARV_SQEL_TRADER_API_H

#include "NarvSqelApiCommon.h"

#if defined(_WIN32)
#  if defined(NARV_TRADER_API_BUILD)
#    define NARV_TRADER_API_EXPORT __declspec(dllexport)
#  else
#    define NARV_TRADER_API_EXPORT __declspec(dllimport)
#  endif
#else
#  define NARV_TRADER_API_EXPORT __attribute__((visibility("default")))
#endif

// ---------------------------------------------------------------------------
// Session records
// ---------------------------------------------------------------------------

/// Password change request, and its reply with the passwords of the request.
struct NarvChangePasswordRecord
{
    char FirmID[11];        ///< not read; empty in replies
    char InvestorID[16];    ///< not read (the session's investor is used); the session's investor in replies
    char OldPassword[41];   ///< current password, at most 20 characters are sent
    char NewPassword[41];   ///< new password, at most 20 characters are sent
};
NARV_ASSERT_SIZE(NarvChangePasswordRecord, 109);
NARV_ASSERT_OFFSET(NarvChangePasswordRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvChangePasswordRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvChangePasswordRecord, OldPassword, 27);
NARV_ASSERT_OFFSET(NarvChangePasswordRecord, NewPassword, 68);

/// Client authentication request, sent before login.
struct NarvAuthenticateReqRecord
{
    char FirmID[11];            ///< firm of the investor, at most 10 characters are echoed
    char InvestorID[16];        ///< investor, at most 15 characters are echoed
    char UserProductInfo[11];   ///< the application's product name, at most 10 characters are echoed
    char AuthCode[17];          ///< not read
    char AppID[33];             ///< not read
};
NARV_ASSERT_SIZE(NarvAuthenticateReqRecord, 88);
NARV_ASSERT_OFFSET(NarvAuthenticateReqRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvAuthenticateReqRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvAuthenticateReqRecord, UserProductInfo, 27);
NARV_ASSERT_OFFSET(NarvAuthenticateReqRecord, AuthCode, 38);
NARV_ASSERT_OFFSET(NarvAuthenticateReqRecord, AppID, 55);

/// Client authentication reply: the identity of the request, echoed.
struct NarvAuthenticateRspRecord
{
    char FirmID[11];            ///< FirmID of the request
    char InvestorID[16];        ///< InvestorID of the request
    char UserProductInfo[11];   ///< UserProductInfo of the request
    char Reserved38[34];
};
NARV_ASSERT_SIZE(NarvAuthenticateRspRecord, 72);
NARV_ASSERT_OFFSET(NarvAuthenticateRspRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvAuthenticateRspRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvAuthenticateRspRecord, UserProductInfo, 27);

/// Request and reply of ReqAcknowledge: a single result, 0 in replies.
struct NarvAcknowledgeRecord
{
    int Result;   ///< 0 = acknowledged
};
NARV_ASSERT_SIZE(NarvAcknowledgeRecord, 4);
NARV_ASSERT_OFFSET(NarvAcknowledgeRecord, Result, 0);

// ---------------------------------------------------------------------------
// Orders and trades
//
// Codes of these records: PriceType '1' market, '2' limit; BSFlag '0' buy,
// '1' sell; OCFlag '0' open, '1' close, '3' close today; HedgeFlag '1'
// speculation.
// ---------------------------------------------------------------------------

/// Order entry request, and the record returned with its rejection.
struct NarvInputOrderRecord
{
    char FirmID[11];          ///< not read; the session's firm in replies
    char InvestorID[13];      ///< investor placing the order
    char Reserved24[31];
    char OrderRef[13];        ///< the application's reference of the order
    char FullInvestorID[16];  ///< replies: the investor with up to 15 characters
    char PriceType;           ///< '1' market, any other value limit
    char BSFlag;              ///< '0' buy, any other value sell
    char OCFlag;              ///< '0' open, '3' close today (on SHFE and INE), other values close
    char Reserved87[4];
    char HedgeFlag;           ///< replies: '1'
    char Reserved92[4];
    double Price;             ///< limit price
    int Qty;                  ///< quantity
    char TimeCondition;       ///< time condition, passed on unchanged
    char GoodTillDay[9];      ///< replies: the session's trading day
    char VolumeCondition;     ///< volume condition, passed on unchanged
    char Reserved119[1];
    int MinQty;               ///< replies: 1
    char TriggerCondition;    ///< replies: '1' (at once)
    char Reserved125[11];
    char CloseReason;         ///< replies: '0' (not a forced close)
    char Reserved137[3];
    int SuspendFlag;          ///< replies: 0
    char Reserved144[24];
    int RequestID;            ///< the application's id of the order, passed on
    int ForceFlag;            ///< replies: 0
    char Reserved176[4];
    char ExchangeID[9];       ///< exchange of the instrument
    char InvestorUnit[17];    ///< investor unit
    char Reserved206[17];
    char ClientID[16];        ///< trading code at the exchange
    char Reserved239[11];
    char MacAddress[21];      ///< MAC address of the client
    char InstrumentID[81];    ///< instrument; at most 15 characters are sent
    char IPAddress[33];       ///< IP address of the client
    char Reserved385[7];
};
NARV_ASSERT_SIZE(NarvInputOrderRecord, 392);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, OrderRef, 55);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, FullInvestorID, 68);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, PriceType, 84);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, BSFlag, 85);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, OCFlag, 86);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, HedgeFlag, 91);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, Price, 96);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, Qty, 104);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, TimeCondition, 108);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, GoodTillDay, 109);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, VolumeCondition, 118);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, MinQty, 120);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, TriggerCondition, 124);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, CloseReason, 136);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, SuspendFlag, 140);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, RequestID, 168);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, ForceFlag, 172);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, ExchangeID, 180);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, InvestorUnit, 189);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, ClientID, 223);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, MacAddress, 250);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, InstrumentID, 271);
NARV_ASSERT_OFFSET(NarvInputOrderRecord, IPAddress, 352);

/// Order cancel request, and the record returned with its rejection.
struct NarvOrderActionRecord
{
    char FirmID[11];          ///< not read; the session's firm in replies
    char InvestorID[13];      ///< investor owning the order
    char Reserved24[4];
    char OrderRef[13];        ///< reference of the order to cancel
    char Reserved41[3];
    int RequestID;            ///< replies: request id of the reply
    int FrontID;              ///< front number of the session that entered the order
    int SessionID;            ///< session number of the session that entered the order
    char ExchangeID[9];       ///< exchange of the instrument
    char OrderSysID[21];      ///< the exchange's number of the order
    char ActionFlag;          ///< replies: '0' (cancel)
    char Reserved87[13];
    char FullInvestorID[16];  ///< replies: the investor with up to 15 characters
    char Reserved116[85];
    char InstrumentID[81];    ///< instrument; at most 15 characters are sent
    char Reserved282[38];
};
NARV_ASSERT_SIZE(NarvOrderActionRecord, 320);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, OrderRef, 28);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, RequestID, 44);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, FrontID, 48);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, SessionID, 52);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, ExchangeID, 56);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, OrderSysID, 65);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, ActionFlag, 86);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, FullInvestorID, 100);
NARV_ASSERT_OFFSET(NarvOrderActionRecord, InstrumentID, 201);

/// State of an order, pushed by OnOrderNty and returned by order queries.
struct NarvOrderRecord
{
    char FirmID[11];               ///< the session's firm
    char InvestorID[13];           ///< investor owning the order
    char Reserved24[31];
    char OrderRef[13];             ///< the application's reference of the order
    char FullInvestorID[16];       ///< the investor with up to 15 characters
    char PriceType;                ///< '1' market, '2' limit
    char BSFlag;                   ///< '0' buy, '1' sell
    char OCFlag;                   ///< '0' open, '1' close, '3' close today
    char Reserved87[4];
    char HedgeFlag;                ///< '1'
    char Reserved92[4];
    double Price;                  ///< limit price
    int Qty;                       ///< quantity ordered
    char TimeCondition;            ///< time condition
    char GoodTillDay[9];           ///< the session's trading day
    char VolumeCondition;          ///< volume condition
    char Reserved119[1];
    int MinQty;                    ///< 1
    char TriggerCondition;         ///< '1' (at once)
    char Reserved125[11];
    char CloseReason;              ///< '0' (not a forced close)
    char Reserved137[3];
    int SuspendFlag;               ///< 0
    char Reserved144[24];
    int RequestID;                 ///< the application's id of the order
    char OrderID[13];              ///< the back end's order number
    char ExchangeID[9];            ///< exchange of the instrument
    char Reserved194[11];
    char ClientID[11];             ///< trading code at the exchange
    char Reserved216[31];
    char AccountID[21];            ///< account
    char Reserved268[4];
    char OrderSubmitStatus;        ///< submission state
    char Reserved273[7];
    char TradingDay[9];            ///< the session's trading day
    char Reserved289[7];
    char OrderSysID[21];           ///< the exchange's number of the order
    char Reserved317[1];
    char OrderStatus;              ///< '0' filled, '1' partly filled, '3' queued, '5' cancelled, 'a' accepted
    char Reserved319[1];
    int QtyTraded;                 ///< quantity filled so far
    int QtyLeft;                   ///< quantity still open
    char OrderDate[9];             ///< date entered, YYYYMMDD
    char OrderTime[9];             ///< time entered, HH:MM:SS
    char Reserved346[18];
    char ModifyTime[9];            ///< time of the last change, HH:MM:SS
    char Reserved373[47];
    int FrontID;                   ///< front number of the session that entered the order
    int SessionID;                 ///< session number of the session that entered the order
    char UserProductInfo[11];      ///< product name of the entering application
    char OrderStatusDesc[81];      ///< status text (GBK)
    int SpareInt1;                 ///< 0
    char Reserved524[16];
    int OrderIDNumber;             ///< OrderID read as a decimal number
    char Reserved544[41];
    char InvestorUnit[17];         ///< investor unit
    char Reserved602[33];
    char MacAddress[21];           ///< MAC address of the entering client
    char InstrumentID[81];         ///< instrument
    char ExchangeInstrumentID[81]; ///< the instrument once more
    char IPAddress[33];            ///< IP address of the entering client
    char Reserved851[5];
};
NARV_ASSERT_SIZE(NarvOrderRecord, 856);
NARV_ASSERT_OFFSET(NarvOrderRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvOrderRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderRef, 55);
NARV_ASSERT_OFFSET(NarvOrderRecord, FullInvestorID, 68);
NARV_ASSERT_OFFSET(NarvOrderRecord, PriceType, 84);
NARV_ASSERT_OFFSET(NarvOrderRecord, BSFlag, 85);
NARV_ASSERT_OFFSET(NarvOrderRecord, OCFlag, 86);
NARV_ASSERT_OFFSET(NarvOrderRecord, HedgeFlag, 91);
NARV_ASSERT_OFFSET(NarvOrderRecord, Price, 96);
NARV_ASSERT_OFFSET(NarvOrderRecord, Qty, 104);
NARV_ASSERT_OFFSET(NarvOrderRecord, TimeCondition, 108);
NARV_ASSERT_OFFSET(NarvOrderRecord, GoodTillDay, 109);
NARV_ASSERT_OFFSET(NarvOrderRecord, VolumeCondition, 118);
NARV_ASSERT_OFFSET(NarvOrderRecord, MinQty, 120);
NARV_ASSERT_OFFSET(NarvOrderRecord, TriggerCondition, 124);
NARV_ASSERT_OFFSET(NarvOrderRecord, CloseReason, 136);
NARV_ASSERT_OFFSET(NarvOrderRecord, SuspendFlag, 140);
NARV_ASSERT_OFFSET(NarvOrderRecord, RequestID, 168);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderID, 172);
NARV_ASSERT_OFFSET(NarvOrderRecord, ExchangeID, 185);
NARV_ASSERT_OFFSET(NarvOrderRecord, ClientID, 205);
NARV_ASSERT_OFFSET(NarvOrderRecord, AccountID, 247);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderSubmitStatus, 272);
NARV_ASSERT_OFFSET(NarvOrderRecord, TradingDay, 280);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderSysID, 296);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderStatus, 318);
NARV_ASSERT_OFFSET(NarvOrderRecord, QtyTraded, 320);
NARV_ASSERT_OFFSET(NarvOrderRecord, QtyLeft, 324);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderDate, 328);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderTime, 337);
NARV_ASSERT_OFFSET(NarvOrderRecord, ModifyTime, 364);
NARV_ASSERT_OFFSET(NarvOrderRecord, FrontID, 420);
NARV_ASSERT_OFFSET(NarvOrderRecord, SessionID, 424);
NARV_ASSERT_OFFSET(NarvOrderRecord, UserProductInfo, 428);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderStatusDesc, 439);
NARV_ASSERT_OFFSET(NarvOrderRecord, SpareInt1, 520);
NARV_ASSERT_OFFSET(NarvOrderRecord, OrderIDNumber, 540);
NARV_ASSERT_OFFSET(NarvOrderRecord, InvestorUnit, 585);
NARV_ASSERT_OFFSET(NarvOrderRecord, MacAddress, 635);
NARV_ASSERT_OFFSET(NarvOrderRecord, InstrumentID, 656);
NARV_ASSERT_OFFSET(NarvOrderRecord, ExchangeInstrumentID, 737);
NARV_ASSERT_OFFSET(NarvOrderRecord, IPAddress, 818);

/// A fill, pushed by OnTradeNty and returned by trade queries.
struct NarvTradeRecord
{
    char FirmID[11];               ///< the session's firm
    char InvestorID[13];           ///< investor owning the order
    char Reserved24[31];
    char OrderRef[13];             ///< the application's reference of the order
    char FullInvestorID[16];       ///< the investor with up to 15 characters
    char ExchangeID[9];            ///< exchange of the instrument
    char MatchID[21];              ///< number of the fill
    char BSFlag;                   ///< '0' buy, '1' sell
    char OrderSysID[21];           ///< the exchange's number of the order
    char Reserved136[11];
    char ClientID[11];             ///< trading code at the exchange
    char Reserved158[32];
    char OCFlag;                   ///< '0' open, '1' close, '3' close today
    char HedgeFlag;                ///< '1'
    double Price;                  ///< fill price
    int Qty;                       ///< fill quantity
    char MatchDate[9];             ///< date of the fill, YYYYMMDD
    char MatchTime[9];             ///< time of the fill, HH:MM:SS
    char MatchType;                ///< '0' (ordinary fill)
    char Reserved223[1];
    char AccountID[21];            ///< account
    char OrderID[13];              ///< the back end's order number
    char Reserved258[38];
    char TradingDay[9];            ///< the session's trading day
    char Reserved305[7];
    int OrderIDNumber;             ///< OrderID read as a decimal number
    char Reserved316[1];
    char InvestorUnit[17];         ///< investor unit
    char InstrumentID[81];         ///< instrument
    char ExchangeInstrumentID[81]; ///< the instrument once more
};
NARV_ASSERT_SIZE(NarvTradeRecord, 496);
NARV_ASSERT_OFFSET(NarvTradeRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvTradeRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvTradeRecord, OrderRef, 55);
NARV_ASSERT_OFFSET(NarvTradeRecord, FullInvestorID, 68);
NARV_ASSERT_OFFSET(NarvTradeRecord, ExchangeID, 84);
NARV_ASSERT_OFFSET(NarvTradeRecord, MatchID, 93);
NARV_ASSERT_OFFSET(NarvTradeRecord, BSFlag, 114);
NARV_ASSERT_OFFSET(NarvTradeRecord, OrderSysID, 115);
NARV_ASSERT_OFFSET(NarvTradeRecord, ClientID, 147);
NARV_ASSERT_OFFSET(NarvTradeRecord, OCFlag, 190);
NARV_ASSERT_OFFSET(NarvTradeRecord, HedgeFlag, 191);
NARV_ASSERT_OFFSET(NarvTradeRecord, Price, 192);
NARV_ASSERT_OFFSET(NarvTradeRecord, Qty, 200);
NARV_ASSERT_OFFSET(NarvTradeRecord, MatchDate, 204);
NARV_ASSERT_OFFSET(NarvTradeRecord, MatchTime, 213);
NARV_ASSERT_OFFSET(NarvTradeRecord, MatchType, 222);
NARV_ASSERT_OFFSET(NarvTradeRecord, AccountID, 224);
NARV_ASSERT_OFFSET(NarvTradeRecord, OrderID, 245);
NARV_ASSERT_OFFSET(NarvTradeRecord, TradingDay, 296);
NARV_ASSERT_OFFSET(NarvTradeRecord, OrderIDNumber, 312);
NARV_ASSERT_OFFSET(NarvTradeRecord, InvestorUnit, 317);
NARV_ASSERT_OFFSET(NarvTradeRecord, InstrumentID, 334);
NARV_ASSERT_OFFSET(NarvTradeRecord, ExchangeInstrumentID, 415);

// ---------------------------------------------------------------------------
// Query requests. Only the fields documented as read are used; the investor
// is always the one of the session.
// ---------------------------------------------------------------------------

/// Filter of ReqOrderQuery.
struct NarvOrderQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved64[56];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvOrderQueryRecord, 201);
NARV_ASSERT_OFFSET(NarvOrderQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvOrderQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvOrderQueryRecord, ExchangeID, 55);
NARV_ASSERT_OFFSET(NarvOrderQueryRecord, InstrumentID, 120);

/// Filter of ReqTradeQuery.
struct NarvTradeQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved64[56];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvTradeQueryRecord, 201);
NARV_ASSERT_OFFSET(NarvTradeQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvTradeQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvTradeQueryRecord, ExchangeID, 55);
NARV_ASSERT_OFFSET(NarvTradeQueryRecord, InstrumentID, 120);

/// Filter of ReqPosiQuery.
struct NarvPosiQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved64[17];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvPosiQueryRecord, 162);
NARV_ASSERT_OFFSET(NarvPosiQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvPosiQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvPosiQueryRecord, ExchangeID, 55);
NARV_ASSERT_OFFSET(NarvPosiQueryRecord, InstrumentID, 81);

/// Filter of ReqPosiDetailQuery.
struct NarvPosiDetailQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved64[17];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvPosiDetailQueryRecord, 162);
NARV_ASSERT_OFFSET(NarvPosiDetailQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvPosiDetailQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvPosiDetailQueryRecord, ExchangeID, 55);
NARV_ASSERT_OFFSET(NarvPosiDetailQueryRecord, InstrumentID, 81);

/// Request of ReqFundQuery; not read (the session's investor is queried).
struct NarvFundQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
};
NARV_ASSERT_SIZE(NarvFundQueryRecord, 24);
NARV_ASSERT_OFFSET(NarvFundQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvFundQueryRecord, InvestorID, 11);

/// Filter of ReqInvestorFeeRateQuery.
struct NarvInvestorFeeRateQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved64[17];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvInvestorFeeRateQueryRecord, 162);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateQueryRecord, ExchangeID, 55);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateQueryRecord, InstrumentID, 81);

/// Filter of ReqInvestorMarginRateQuery.
struct NarvInvestorMarginRateQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
    char Reserved24[32];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved65[17];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvInvestorMarginRateQueryRecord, 163);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateQueryRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateQueryRecord, ExchangeID, 56);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateQueryRecord, InstrumentID, 82);

/// Filter of ReqExchangeMarginRateQuery.
struct NarvExchangeMarginRateQueryRecord
{
    char Reserved0[43];
    char ExchangeID[9];       ///< exchange, empty for all
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvExchangeMarginRateQueryRecord, 133);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateQueryRecord, ExchangeID, 43);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateQueryRecord, InstrumentID, 52);

/// Filter of ReqExchangeQuery.
struct NarvExchangeQueryRecord
{
    char ExchangeID[9];       ///< exchange, empty for all
};
NARV_ASSERT_SIZE(NarvExchangeQueryRecord, 9);
NARV_ASSERT_OFFSET(NarvExchangeQueryRecord, ExchangeID, 0);

/// Filter of ReqProductQuery.
struct NarvProductQueryRecord
{
    char Reserved0[31];
    char ProductClass;        ///< '1' futures, '2' options; '3' to '6' are not supported; other values all
    char ExchangeID[9];       ///< exchange, empty for all
    char ProductID[81];       ///< product, empty for all; at most 10 characters are sent
};
NARV_ASSERT_SIZE(NarvProductQueryRecord, 122);
NARV_ASSERT_OFFSET(NarvProductQueryRecord, ProductClass, 31);
NARV_ASSERT_OFFSET(NarvProductQueryRecord, ExchangeID, 32);
NARV_ASSERT_OFFSET(NarvProductQueryRecord, ProductID, 41);

/// Filter of ReqInstrumentQuery.
struct NarvInstrumentQueryRecord
{
    char Reserved0[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char Reserved40[62];
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvInstrumentQueryRecord, 183);
NARV_ASSERT_OFFSET(NarvInstrumentQueryRecord, ExchangeID, 31);
NARV_ASSERT_OFFSET(NarvInstrumentQueryRecord, InstrumentID, 102);

/// Filter of ReqQuotQuery.
struct NarvQuotQueryRecord
{
    char Reserved0[31];
    char ExchangeID[9];       ///< exchange, empty for all
    char InstrumentID[81];    ///< instrument, empty for all; at most 15 characters are sent
};
NARV_ASSERT_SIZE(NarvQuotQueryRecord, 121);
NARV_ASSERT_OFFSET(NarvQuotQueryRecord, ExchangeID, 31);
NARV_ASSERT_OFFSET(NarvQuotQueryRecord, InstrumentID, 40);

// ---------------------------------------------------------------------------
// Query replies
// ---------------------------------------------------------------------------

/// Funds of the session's investor.
struct NarvFundRecord
{
    char FirmID[11];          ///< the session's firm
    char InvestorID[13];      ///< the session's investor
    char Reserved24[24];
    double LastBalance;       ///< balance at the previous settlement
    char Reserved56[24];
    double InAmount;          ///< deposits
    double OutAmount;         ///< withdrawals
    double FrozenMargin;      ///< margin frozen by open orders
    double FrozenCash;        ///< cash frozen by open orders
    double FeeFrozen;         ///< fees frozen by open orders
    double Margin;            ///< margin in use
    double CashIn;            ///< cash in
    double Fee;               ///< fees paid
    double ClosedPL;          ///< profit and loss of closed positions
    double FloatingPL;        ///< profit and loss of open positions
    double FloatBalance;      ///< balance with floating profit and loss
    double FreeBalance;       ///< funds available
    char Reserved176[16];
    char TradingDay[9];       ///< the session's trading day
    char Reserved201[15];
    double SpareValue1;       ///< 0
    char Reserved224[32];
    char Currency[4];         ///< "CNY"
    char Reserved260[140];
};
NARV_ASSERT_SIZE(NarvFundRecord, 400);
NARV_ASSERT_OFFSET(NarvFundRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvFundRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvFundRecord, LastBalance, 48);
NARV_ASSERT_OFFSET(NarvFundRecord, InAmount, 80);
NARV_ASSERT_OFFSET(NarvFundRecord, OutAmount, 88);
NARV_ASSERT_OFFSET(NarvFundRecord, FrozenMargin, 96);
NARV_ASSERT_OFFSET(NarvFundRecord, FrozenCash, 104);
NARV_ASSERT_OFFSET(NarvFundRecord, FeeFrozen, 112);
NARV_ASSERT_OFFSET(NarvFundRecord, Margin, 120);
NARV_ASSERT_OFFSET(NarvFundRecord, CashIn, 128);
NARV_ASSERT_OFFSET(NarvFundRecord, Fee, 136);
NARV_ASSERT_OFFSET(NarvFundRecord, ClosedPL, 144);
NARV_ASSERT_OFFSET(NarvFundRecord, FloatingPL, 152);
NARV_ASSERT_OFFSET(NarvFundRecord, FloatBalance, 160);
NARV_ASSERT_OFFSET(NarvFundRecord, FreeBalance, 168);
NARV_ASSERT_OFFSET(NarvFundRecord, TradingDay, 192);
NARV_ASSERT_OFFSET(NarvFundRecord, SpareValue1, 216);
NARV_ASSERT_OFFSET(NarvFundRecord, Currency, 256);

/// One position of the session's investor.
struct NarvPosiRecord
{
    char Reserved0[31];
    char FirmID[11];              ///< the session's firm
    char InvestorID[13];          ///< the session's investor
    char BSFlag;                  ///< '2' long, '3' short
    char HedgeFlag;               ///< '1'
    char PositionDate;            ///< '1' today's position, '2' earlier
    char Reserved58[2];
    int PreQty;                   ///< quantity at the previous settlement
    int Qty;                      ///< quantity now
    int LongFrozen;               ///< long quantity frozen
    int ShortFrozen;              ///< short quantity frozen
    char Reserved76[4];
    double LongFrozenAmount;      ///< long amount frozen
    double ShortFrozenAmount;     ///< short amount frozen
    int OpenVolume;               ///< quantity opened today
    int CloseVolume;              ///< quantity closed today
    double OpenAmount;            ///< amount opened today
    double CloseAmount;           ///< amount closed today
    double Cost;                  ///< position cost
    double PreMargin;             ///< margin at the previous settlement
    double Margin;                ///< margin in use
    double FrozenMargin;          ///< margin frozen
    double FrozenCash;            ///< cash frozen
    char Reserved160[8];
    double CashIn;                ///< cash in
    char Reserved176[8];
    double ClosedPL;              ///< profit and loss of closing
    double FloatingPL;            ///< floating profit and loss
    double PreSettle;             ///< previous settlement price
    double SettlePrice;           ///< settlement price
    char TradingDay[9];           ///< the session's trading day
    char Reserved225[7];
    double OpenCost;              ///< opening cost
    double MarginCopy;            ///< Margin once more
    char Reserved248[16];
    double CloseProfitByDate;     ///< closing profit, marked to market
    double CloseProfitByTrade;    ///< closing profit, trade by trade
    int TodayQty;                 ///< quantity opened today and still held
    char Reserved284[4];
    double MarginRateByRatio;     ///< margin rate when charged as a ratio, else 0
    double MarginRateByAmount;    ///< margin rate when charged per lot, else 0
    char Reserved304[20];
    char ExchangeID[9];           ///< exchange of the instrument
    char Reserved333[27];
    double PositionCostOffset;    ///< position cost offset
    char Reserved368[16];
    char InstrumentID[81];        ///< instrument
    char Reserved465[7];
};
NARV_ASSERT_SIZE(NarvPosiRecord, 472);
NARV_ASSERT_OFFSET(NarvPosiRecord, FirmID, 31);
NARV_ASSERT_OFFSET(NarvPosiRecord, InvestorID, 42);
NARV_ASSERT_OFFSET(NarvPosiRecord, BSFlag, 55);
NARV_ASSERT_OFFSET(NarvPosiRecord, HedgeFlag, 56);
NARV_ASSERT_OFFSET(NarvPosiRecord, PositionDate, 57);
NARV_ASSERT_OFFSET(NarvPosiRecord, PreQty, 60);
NARV_ASSERT_OFFSET(NarvPosiRecord, Qty, 64);
NARV_ASSERT_OFFSET(NarvPosiRecord, LongFrozen, 68);
NARV_ASSERT_OFFSET(NarvPosiRecord, ShortFrozen, 72);
NARV_ASSERT_OFFSET(NarvPosiRecord, LongFrozenAmount, 80);
NARV_ASSERT_OFFSET(NarvPosiRecord, ShortFrozenAmount, 88);
NARV_ASSERT_OFFSET(NarvPosiRecord, OpenVolume, 96);
NARV_ASSERT_OFFSET(NarvPosiRecord, CloseVolume, 100);
NARV_ASSERT_OFFSET(NarvPosiRecord, OpenAmount, 104);
NARV_ASSERT_OFFSET(NarvPosiRecord, CloseAmount, 112);
NARV_ASSERT_OFFSET(NarvPosiRecord, Cost, 120);
NARV_ASSERT_OFFSET(NarvPosiRecord, PreMargin, 128);
NARV_ASSERT_OFFSET(NarvPosiRecord, Margin, 136);
NARV_ASSERT_OFFSET(NarvPosiRecord, FrozenMargin, 144);
NARV_ASSERT_OFFSET(NarvPosiRecord, FrozenCash, 152);
NARV_ASSERT_OFFSET(NarvPosiRecord, CashIn, 168);
NARV_ASSERT_OFFSET(NarvPosiRecord, ClosedPL, 184);
NARV_ASSERT_OFFSET(NarvPosiRecord, FloatingPL, 192);
NARV_ASSERT_OFFSET(NarvPosiRecord, PreSettle, 200);
NARV_ASSERT_OFFSET(NarvPosiRecord, SettlePrice, 208);
NARV_ASSERT_OFFSET(NarvPosiRecord, TradingDay, 216);
NARV_ASSERT_OFFSET(NarvPosiRecord, OpenCost, 232);
NARV_ASSERT_OFFSET(NarvPosiRecord, MarginCopy, 240);
NARV_ASSERT_OFFSET(NarvPosiRecord, CloseProfitByDate, 264);
NARV_ASSERT_OFFSET(NarvPosiRecord, CloseProfitByTrade, 272);
NARV_ASSERT_OFFSET(NarvPosiRecord, TodayQty, 280);
NARV_ASSERT_OFFSET(NarvPosiRecord, MarginRateByRatio, 288);
NARV_ASSERT_OFFSET(NarvPosiRecord, MarginRateByAmount, 296);
NARV_ASSERT_OFFSET(NarvPosiRecord, ExchangeID, 324);
NARV_ASSERT_OFFSET(NarvPosiRecord, PositionCostOffset, 360);
NARV_ASSERT_OFFSET(NarvPosiRecord, InstrumentID, 384);

/// One opening fill of a position still held.
struct NarvPosiDetailRecord
{
    char Reserved0[31];
    char FirmID[11];               ///< the session's firm
    char InvestorID[13];           ///< the session's investor
    char HedgeFlag;                ///< '1'
    char BSFlag;                   ///< '0' buy, '1' sell
    char CreateTradeDate[9];       ///< trading day of the opening fill, YYYYMMDD
    char MatchID[21];              ///< number of the opening fill
    char Reserved87[1];
    int QtyLeft;                   ///< quantity still held
    char Reserved92[4];
    double CreatePrice;            ///< opening price
    char TradingDay[9];            ///< the session's trading day
    char Reserved113[7];
    char TradeType;                ///< '0' (ordinary fill)
    char Reserved121[31];
    char ExchangeID[9];            ///< exchange of the instrument
    char Reserved161[7];
    double CloseProfitByDate;      ///< closing profit, marked to market
    double CloseProfitByTrade;     ///< closing profit, trade by trade
    double PositionProfitByDate;   ///< position profit, marked to market
    double PositionProfitByTrade;  ///< position profit, trade by trade
    double Margin;                 ///< margin in use
    double PreSettle;              ///< previous settlement price
    double SettlePrice;            ///< settlement price
    int CloseVolume;               ///< quantity closed
    char Reserved228[4];
    double CloseAmount;            ///< amount closed
    char InvestorUnit[17];         ///< investor unit
    char Reserved257[29];
    char InstrumentID[81];         ///< instrument
    char Reserved367[81];
};
NARV_ASSERT_SIZE(NarvPosiDetailRecord, 448);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, FirmID, 31);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, InvestorID, 42);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, HedgeFlag, 55);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, BSFlag, 56);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CreateTradeDate, 57);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, MatchID, 66);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, QtyLeft, 88);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CreatePrice, 96);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, TradingDay, 104);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, TradeType, 120);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, ExchangeID, 152);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CloseProfitByDate, 168);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CloseProfitByTrade, 176);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, PositionProfitByDate, 184);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, PositionProfitByTrade, 192);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, Margin, 200);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, PreSettle, 208);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, SettlePrice, 216);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CloseVolume, 224);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, CloseAmount, 232);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, InvestorUnit, 240);
NARV_ASSERT_OFFSET(NarvPosiDetailRecord, InstrumentID, 286);

/// One tradable instrument.
struct NarvInstrumentRecord
{
    char Reserved0[31];
    char ExchangeID[9];              ///< exchange of the instrument
    char InstrumentName[21];         ///< name of the instrument (GBK)
    char Reserved61[62];
    char InstrumentType;             ///< '1' futures, '2' options, '4' spot; 'B', 'D', 'E' as the back end gives them
    int ExpiryYear;                  ///< year of ExpiredDate, 0 when none
    int ExpiryMonth;                 ///< month of ExpiredDate, 0 when none
    int MaxMarketOrderQty;           ///< 2147483647 (no limit)
    int MinMarketOrderQty;           ///< 1
    int MaxLimitOrderQty;            ///< 2147483647 (no limit)
    int MinLimitOrderQty;            ///< 1
    int TradeUnit;                   ///< contract multiplier
    double MinMovement;              ///< price tick
    char OpenDate[9];                ///< listing date, YYYYMMDD; empty when unknown
    char Reserved169[18];
    char ExpiredDate[9];             ///< expiry date, YYYYMMDD; empty when unknown
    char LastDeliveryDate[9];        ///< same as ExpiredDate
    char TradingPhase;               ///< '1' (trading)
    char Reserved206[2];
    int TradableFlag;                ///< 1
    char PositionKind;               ///< '2'
    char PositionDateKind;           ///< '1'
    char Reserved214[2];
    double LongMarginRate;           ///< margin rate
    double ShortMarginRate;          ///< margin rate
    char MarginSideRule;             ///< '0'
    char Reserved233[31];
    double StrikePrice;              ///< strike price of an option
    char OptionsType;                ///< '1' call, '2' put
    char Reserved273[15];
    char CombinationKind;            ///< '0'
    char InstrumentID[81];           ///< instrument
    char ExchangeInstrumentID[81];   ///< the instrument once more
    char GoodsName[81];              ///< name of the commodity (GBK)
    char UnderlyingInstrID[81];      ///< underlying instrument of an option
    char Reserved613[3];
};
NARV_ASSERT_SIZE(NarvInstrumentRecord, 616);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ExchangeID, 31);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, InstrumentName, 40);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, InstrumentType, 123);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ExpiryYear, 124);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ExpiryMonth, 128);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MaxMarketOrderQty, 132);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MinMarketOrderQty, 136);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MaxLimitOrderQty, 140);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MinLimitOrderQty, 144);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, TradeUnit, 148);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MinMovement, 152);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, OpenDate, 160);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ExpiredDate, 187);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, LastDeliveryDate, 196);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, TradingPhase, 205);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, TradableFlag, 208);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, PositionKind, 212);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, PositionDateKind, 213);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, LongMarginRate, 216);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ShortMarginRate, 224);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, MarginSideRule, 232);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, StrikePrice, 264);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, OptionsType, 272);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, CombinationKind, 288);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, InstrumentID, 289);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, ExchangeInstrumentID, 370);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, GoodsName, 451);
NARV_ASSERT_OFFSET(NarvInstrumentRecord, UnderlyingInstrID, 532);

/// Fee rates of the session's investor for one instrument. A rate is given
/// either as a ratio of the amount or per lot; the other of each pair is 0.
struct NarvInvestorFeeRateRecord
{
    char Reserved0[31];
    char InvestorScope;             ///< '1' (this investor)
    char FirmID[11];                ///< the session's firm
    char InvestorID[13];            ///< investor of the rate
    double OpenFeeByRatio;          ///< opening fee as a ratio
    double OpenFeeByQty;            ///< opening fee per lot
    double CloseFeeByRatio;         ///< closing fee as a ratio
    double CloseFeeByQty;           ///< closing fee per lot
    double CloseTodayFeeByRatio;    ///< fee for closing today's position as a ratio
    double CloseTodayFeeByQty;      ///< fee for closing today's position per lot
    char ExchangeID[9];             ///< exchange of the instrument
    char Reserved113[18];
    char InstrumentID[81];          ///< instrument
    char Reserved212[4];
};
NARV_ASSERT_SIZE(NarvInvestorFeeRateRecord, 216);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, InvestorScope, 31);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, FirmID, 32);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, InvestorID, 43);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, OpenFeeByRatio, 56);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, OpenFeeByQty, 64);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, CloseFeeByRatio, 72);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, CloseFeeByQty, 80);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, CloseTodayFeeByRatio, 88);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, CloseTodayFeeByQty, 96);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, ExchangeID, 104);
NARV_ASSERT_OFFSET(NarvInvestorFeeRateRecord, InstrumentID, 131);

/// Margin rates of the session's investor for one instrument. A rate is
/// given either as a ratio of the amount or per lot; the other of each pair
/// is 0.
struct NarvInvestorMarginRateRecord
{
    char Reserved0[31];
    char InvestorScope;             ///< '1' (this investor)
    char FirmID[11];                ///< the session's firm
    char InvestorID[13];            ///< investor of the rate
    char HedgeFlag;                 ///< '1'
    char Reserved57[7];
    double LongMarginByRatio;       ///< long margin as a ratio
    double LongMarginByQty;         ///< long margin per lot
    double ShortMarginByRatio;      ///< short margin as a ratio
    double ShortMarginByQty;        ///< short margin per lot
    char Reserved96[4];
    char ExchangeID[9];             ///< exchange of the instrument
    char Reserved109[17];
    char InstrumentID[81];          ///< instrument
    char Reserved207[1];
};
NARV_ASSERT_SIZE(NarvInvestorMarginRateRecord, 208);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, InvestorScope, 31);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, FirmID, 32);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, InvestorID, 43);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, HedgeFlag, 56);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, LongMarginByRatio, 64);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, LongMarginByQty, 72);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, ShortMarginByRatio, 80);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, ShortMarginByQty, 88);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, ExchangeID, 100);
NARV_ASSERT_OFFSET(NarvInvestorMarginRateRecord, InstrumentID, 126);

/// Margin rates of an exchange for one instrument, as a ratio or per lot.
struct NarvExchangeMarginRateRecord
{
    char Reserved0[42];
    char HedgeFlag;                 ///< '1'
    char Reserved43[5];
    double LongMarginByRatio;       ///< long margin as a ratio
    double LongMarginByQty;         ///< long margin per lot
    double ShortMarginByRatio;      ///< short margin as a ratio
    double ShortMarginByQty;        ///< short margin per lot
    char ExchangeID[9];             ///< exchange
    char InstrumentID[81];          ///< instrument
    char Reserved170[6];
};
NARV_ASSERT_SIZE(NarvExchangeMarginRateRecord, 176);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, HedgeFlag, 42);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, LongMarginByRatio, 48);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, LongMarginByQty, 56);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, ShortMarginByRatio, 64);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, ShortMarginByQty, 72);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, ExchangeID, 80);
NARV_ASSERT_OFFSET(NarvExchangeMarginRateRecord, InstrumentID, 89);

/// One product (the class of instruments on one commodity).
struct NarvProductRecord
{
    char Reserved0[31];
    char ProductName[21];           ///< name of the product (GBK)
    char ExchangeID[9];             ///< exchange
    char InstrumentType;            ///< '1' futures, '2' options, '4' other kinds; 0 when unknown
    char Reserved62[82];
    char ProductID[81];             ///< product
    char ExchangeProductID[81];     ///< the product once more
    char Reserved306[6];
};
NARV_ASSERT_SIZE(NarvProductRecord, 312);
NARV_ASSERT_OFFSET(NarvProductRecord, ProductName, 31);
NARV_ASSERT_OFFSET(NarvProductRecord, ExchangeID, 52);
NARV_ASSERT_OFFSET(NarvProductRecord, InstrumentType, 61);
NARV_ASSERT_OFFSET(NarvProductRecord, ProductID, 144);
NARV_ASSERT_OFFSET(NarvProductRecord, ExchangeProductID, 225);

/// One exchange.
struct NarvExchangeRecord
{
    char ExchangeID[9];             ///< exchange
    char ExchangeName[61];          ///< name of the exchange (GBK)
    char ExchangeProperty;          ///< '0'
};
NARV_ASSERT_SIZE(NarvExchangeRecord, 71);
NARV_ASSERT_OFFSET(NarvExchangeRecord, ExchangeID, 0);
NARV_ASSERT_OFFSET(NarvExchangeRecord, ExchangeName, 9);
NARV_ASSERT_OFFSET(NarvExchangeRecord, ExchangeProperty, 70);

/// Latest quote of one instrument, with the best price level only.
struct NarvQuotRecord
{
    char TradingDay[9];             ///< the session's trading day
    char Reserved9[31];
    char ExchangeID[9];             ///< exchange
    char Reserved49[31];
    double Price;                   ///< last price
    double PreSettle;               ///< previous settlement price
    double PreClose;                ///< previous close
    double PreOI;                   ///< previous open interest
    double OpenPrice;               ///< open
    double HighestPrice;            ///< high
    double LowestPrice;             ///< low
    int QtyTotal;                   ///< volume (low 32 bits)
    char Reserved140[4];
    double Amount;                  ///< turnover
    double OI;                      ///< open interest
    double ClosePrice;              ///< last price once more
    double SettlePrice;             ///< settlement price
    double HighLimit;               ///< upper price limit
    double LowLimit;                ///< lower price limit
    char Reserved192[16];
    char ModifyTime[9];             ///< time of the quote, HH:MM:SS
    char Reserved217[7];
    double BidPrice;                ///< best bid
    int BidQty;                     ///< quantity at the best bid
    char Reserved236[4];
    double AskPrice;                ///< best ask
    int AskQty;                     ///< quantity at the best ask
    char Reserved252[140];
    char ModifyDate[9];             ///< date of the quote, YYYYMMDD
    char InstrumentID[81];          ///< instrument
    char Reserved482[86];
};
NARV_ASSERT_SIZE(NarvQuotRecord, 568);
NARV_ASSERT_OFFSET(NarvQuotRecord, TradingDay, 0);
NARV_ASSERT_OFFSET(NarvQuotRecord, ExchangeID, 40);
NARV_ASSERT_OFFSET(NarvQuotRecord, Price, 80);
NARV_ASSERT_OFFSET(NarvQuotRecord, PreSettle, 88);
NARV_ASSERT_OFFSET(NarvQuotRecord, PreClose, 96);
NARV_ASSERT_OFFSET(NarvQuotRecord, PreOI, 104);
NARV_ASSERT_OFFSET(NarvQuotRecord, OpenPrice, 112);
NARV_ASSERT_OFFSET(NarvQuotRecord, HighestPrice, 120);
NARV_ASSERT_OFFSET(NarvQuotRecord, LowestPrice, 128);
NARV_ASSERT_OFFSET(NarvQuotRecord, QtyTotal, 136);
NARV_ASSERT_OFFSET(NarvQuotRecord, Amount, 144);
NARV_ASSERT_OFFSET(NarvQuotRecord, OI, 152);
NARV_ASSERT_OFFSET(NarvQuotRecord, ClosePrice, 160);
NARV_ASSERT_OFFSET(NarvQuotRecord, SettlePrice, 168);
NARV_ASSERT_OFFSET(NarvQuotRecord, HighLimit, 176);
NARV_ASSERT_OFFSET(NarvQuotRecord, LowLimit, 184);
NARV_ASSERT_OFFSET(NarvQuotRecord, ModifyTime, 208);
NARV_ASSERT_OFFSET(NarvQuotRecord, BidPrice, 224);
NARV_ASSERT_OFFSET(NarvQuotRecord, BidQty, 232);
NARV_ASSERT_OFFSET(NarvQuotRecord, AskPrice, 240);
NARV_ASSERT_OFFSET(NarvQuotRecord, AskQty, 248);
NARV_ASSERT_OFFSET(NarvQuotRecord, ModifyDate, 392);
NARV_ASSERT_OFFSET(NarvQuotRecord, InstrumentID, 401);

// ---------------------------------------------------------------------------
// Records of the requests this library answers by itself
// ---------------------------------------------------------------------------

/// Request and reply of ReqMaxOrderQtyQuery: the order in question and the
/// largest quantity that may be ordered.
struct NarvMaxOrderQtyRecord
{
    char FirmID[11];          ///< firm of the investor
    char InvestorID[13];      ///< investor
    char Reserved24[31];
    char BSFlag;              ///< '0' buy, '1' sell
    char OCFlag;              ///< '0' open, '1' close, '3' close today
    char HedgeFlag;           ///< '1' speculation
    char Reserved58[2];
    int MaxQty;               ///< replies: 2147483647 (no limit known)
    char ExchangeID[9];       ///< exchange
    char InvestorUnit[17];    ///< investor unit
    char InstrumentID[81];    ///< instrument
    char Reserved171[1];
};
NARV_ASSERT_SIZE(NarvMaxOrderQtyRecord, 172);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, BSFlag, 55);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, OCFlag, 56);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, HedgeFlag, 57);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, MaxQty, 60);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, ExchangeID, 64);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, InvestorUnit, 73);
NARV_ASSERT_OFFSET(NarvMaxOrderQtyRecord, InstrumentID, 90);

/// Settlement statement confirmation: request of ReqSettlementConfirm and
/// ReqSettlementConfirmQuery, and the reply of both with the local date and
/// time.
struct NarvSettlementConfirmRecord
{
    char FirmID[11];          ///< replies: the session's firm
    char InvestorID[13];      ///< replies: the session's investor
    char ConfirmDate[9];      ///< replies: local date of the request, YYYYMMDD
    char ConfirmTime[9];      ///< replies: local time of the request, HH:MM:SS
    char Reserved42[6];
    char AccountID[13];       ///< account; echoed by ReqSettlementConfirm, empty for the query
    char Reserved61[3];
    int SettlementID;         ///< settlement number; echoed by ReqSettlementConfirm, 0 for the query
};
NARV_ASSERT_SIZE(NarvSettlementConfirmRecord, 68);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, ConfirmDate, 24);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, ConfirmTime, 33);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, AccountID, 48);
NARV_ASSERT_OFFSET(NarvSettlementConfirmRecord, SettlementID, 64);

/// Request of ReqInvestorQuery; not read.
struct NarvInvestorQueryRecord
{
    char FirmID[11];          ///< not read
    char InvestorID[13];      ///< not read
};
NARV_ASSERT_SIZE(NarvInvestorQueryRecord, 24);
NARV_ASSERT_OFFSET(NarvInvestorQueryRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvInvestorQueryRecord, InvestorID, 11);

/// The session's investor, as answered by ReqInvestorQuery.
struct NarvInvestorRecord
{
    char InvestorID[13];      ///< the session's investor
    char FirmID[11];          ///< the session's firm
    char Reserved24[13];
    char InvestorName[81];    ///< name of the investor; its id, as no name is known
    char Reserved118[54];
    int IsActive;             ///< 1
    char Reserved176[220];
};
NARV_ASSERT_SIZE(NarvInvestorRecord, 396);
NARV_ASSERT_OFFSET(NarvInvestorRecord, InvestorID, 0);
NARV_ASSERT_OFFSET(NarvInvestorRecord, FirmID, 13);
NARV_ASSERT_OFFSET(NarvInvestorRecord, InvestorName, 37);
NARV_ASSERT_OFFSET(NarvInvestorRecord, IsActive, 172);

/// Currency of the session's account: request (not read) and reply of
/// ReqCurrencyQuery.
struct NarvCurrencyRecord
{
    char FirmID[11];          ///< replies: the session's firm
    char InvestorID[13];      ///< replies: the session's investor
    char CurrencyKind;        ///< replies: '4'
    char SettleKind;          ///< replies: '2'
    char Reserved26[1];
    char CurrencyID[4];       ///< replies: "RMB"
    char AccountKind;         ///< replies: '4'
    char Reserved32[13];
};
NARV_ASSERT_SIZE(NarvCurrencyRecord, 45);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, InvestorID, 11);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, CurrencyKind, 24);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, SettleKind, 25);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, CurrencyID, 27);
NARV_ASSERT_OFFSET(NarvCurrencyRecord, AccountKind, 31);

// ---------------------------------------------------------------------------
// Callback interface
// ---------------------------------------------------------------------------

/// Callbacks of the trading library. Every operation has an empty default,
/// so an application overrides only those it needs. The object is not
/// destroyed through this interface.
///
/// Threads: connection events, replies from the back end and pushes arrive
/// on the API object's network thread, in the order they were received, one
/// at a time; the answers the library builds itself (local answers, empty
/// and "Not supported" replies) arrive on its reply thread. The two threads
/// are not serialised with each other: guard state that callbacks share.
/// A callback that blocks on the network thread holds up all traffic of the
/// object, heartbeats included. Inside any callback the application may make
/// requests and may call Release (the calling callback is then the last);
/// Join must not be called there.
class CNarvSqelTraderSpi
{
public:
    /// [0] The connection to a front is up; log in now.
    virtual void OnConnected() {}
    /// [1] The connection was lost (reason is always 0); the library reconnects by itself.
    virtual void OnDisconnected(int /*reason*/) {}
    /// [2] Never called; keeps the position.
    virtual void OnSpare2(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [3] Answer to ReqAuthenticate.
    virtual void OnAuthenticateRsp(const NarvAuthenticateRspRecord* /*authenticate*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [4] Answer to ReqLogin.
    virtual void OnLoginRsp(const NarvLoginRspRecord* /*loginRsp*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [5] Answer to ReqLogout.
    virtual void OnLogoutRsp(const NarvLogoutRecord* /*logout*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [6] Answer to ReqChangePassword.
    virtual void OnChangePasswordRsp(const NarvChangePasswordRecord* /*changePassword*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [7] Never called; keeps the position.
    virtual void OnSpare7(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [8] Answer to ReqAcknowledge.
    virtual void OnAcknowledgeRsp(const NarvAcknowledgeRecord* /*acknowledge*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [9] Never called; keeps the position.
    virtual void OnSpare9(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [10] Never called; keeps the position.
    virtual void OnSpare10(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [11] Rejection of a ReqInputOrder.
    virtual void OnInputOrderRsp(const NarvInputOrderRecord* /*inputOrder*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [12] Never called; keeps the position.
    virtual void OnSpare12(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [13] Never called; keeps the position.
    virtual void OnSpare13(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [14] Rejection of a ReqOrderCancel.
    virtual void OnOrderCancelRsp(const NarvOrderActionRecord* /*orderAction*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [15] Answer to ReqMaxOrderQtyQuery.
    virtual void OnMaxOrderQtyQueryRsp(const NarvMaxOrderQtyRecord* /*maxOrderQty*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [16] Answer to ReqSettlementConfirm.
    virtual void OnSettlementConfirmRsp(const NarvSettlementConfirmRecord* /*confirm*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [17] Never called; keeps the position.
    virtual void OnSpare17(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [18] Never called; keeps the position.
    virtual void OnSpare18(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [19] "Not supported" answer to ReqExt31, with the request's own record.
    virtual void OnExt31Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [20] "Not supported" answer to ReqExt32, with the request's own record.
    virtual void OnExt32Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [21] "Not supported" answer to ReqExt33, with the request's own record.
    virtual void OnExt33Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [22] "Not supported" answer to ReqExt34, with the request's own record.
    virtual void OnExt34Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [23] "Not supported" answer to ReqExt35, with the request's own record.
    virtual void OnExt35Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [24] Never called; keeps the position.
    virtual void OnSpare24(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [25] Empty answer to ReqExt37.
    virtual void OnExt37Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [26] Empty answer to ReqExt38.
    virtual void OnExt38Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [27] Never called; keeps the position.
    virtual void OnSpare27(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [28] One order of the answer to ReqOrderQuery.
    virtual void OnOrderQueryRsp(const NarvOrderRecord* /*order*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [29] One trade of the answer to ReqTradeQuery.
    virtual void OnTradeQueryRsp(const NarvTradeRecord* /*trade*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [30] One position of the answer to ReqPosiQuery.
    virtual void OnPosiQueryRsp(const NarvPosiRecord* /*posi*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [31] Answer to ReqFundQuery.
    virtual void OnFundQueryRsp(const NarvFundRecord* /*fund*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [32] Answer to ReqInvestorQuery.
    virtual void OnInvestorQueryRsp(const NarvInvestorRecord* /*investor*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [33] Empty answer to ReqExt45.
    virtual void OnExt45Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [34] One rate of the answer to ReqInvestorMarginRateQuery.
    virtual void OnInvestorMarginRateQueryRsp(const NarvInvestorMarginRateRecord* /*marginRate*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [35] One rate of the answer to ReqInvestorFeeRateQuery.
    virtual void OnInvestorFeeRateQueryRsp(const NarvInvestorFeeRateRecord* /*feeRate*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [36] One exchange of the answer to ReqExchangeQuery.
    virtual void OnExchangeQueryRsp(const NarvExchangeRecord* /*exchange*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [37] One product of the answer to ReqProductQuery.
    virtual void OnProductQueryRsp(const NarvProductRecord* /*product*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [38] One instrument of the answer to ReqInstrumentQuery.
    virtual void OnInstrumentQueryRsp(const NarvInstrumentRecord* /*instrument*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [39] One quote of the answer to ReqQuotQuery.
    virtual void OnQuotQueryRsp(const NarvQuotRecord* /*quot*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [40] Empty answer to ReqExt52.
    virtual void OnExt52Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [41] Empty answer to ReqExt53.
    virtual void OnExt53Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [42] One position detail of the answer to ReqPosiDetailQuery.
    virtual void OnPosiDetailQueryRsp(const NarvPosiDetailRecord* /*posiDetail*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [43] Empty answer to ReqExt55.
    virtual void OnExt55Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [44] Answer to ReqSettlementConfirmQuery.
    virtual void OnSettlementConfirmQueryRsp(const NarvSettlementConfirmRecord* /*confirm*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [45] Empty answer to ReqExt57.
    virtual void OnExt57Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [46] Empty answer to ReqExt58.
    virtual void OnExt58Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [47] Never called; keeps the position.
    virtual void OnSpare47(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [48] Never called; keeps the position.
    virtual void OnSpare48(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [49] One rate of the answer to ReqExchangeMarginRateQuery.
    virtual void OnExchangeMarginRateQueryRsp(const NarvExchangeMarginRateRecord* /*marginRate*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [50] Never called; keeps the position.
    virtual void OnSpare50(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [51] Never called; keeps the position.
    virtual void OnSpare51(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [52] Never called; keeps the position.
    virtual void OnSpare52(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [53] Never called; keeps the position.
    virtual void OnSpare53(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [54] Empty answer to ReqExt66.
    virtual void OnExt66Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [55] Never called; keeps the position.
    virtual void OnSpare55(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [56] Never called; keeps the position.
    virtual void OnSpare56(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [57] Empty answer to ReqExt69.
    virtual void OnExt69Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [58] Never called; keeps the position.
    virtual void OnSpare58(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [59] Never called; keeps the position.
    virtual void OnSpare59(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [60] Empty answer to ReqExt72.
    virtual void OnExt72Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [61] Empty answer to ReqExt73.
    virtual void OnExt73Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [62] Empty answer to ReqExt74.
    virtual void OnExt74Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [63] Empty answer to ReqExt75.
    virtual void OnExt75Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [64] Empty answer to ReqExt76.
    virtual void OnExt76Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [65] Empty answer to ReqExt77.
    virtual void OnExt77Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [66] Empty answer to ReqExt78.
    virtual void OnExt78Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [67] Empty answer to ReqExt79.
    virtual void OnExt79Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [68] Empty answer to ReqExt80.
    virtual void OnExt80Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [69] Empty answer to ReqExt81.
    virtual void OnExt81Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [70] Empty answer to ReqExt82.
    virtual void OnExt82Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [71] Empty answer to ReqExt83.
    virtual void OnExt83Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [72] Never called; keeps the position.
    virtual void OnSpare72(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [73] An order was entered or changed state.
    virtual void OnOrderNty(const NarvOrderRecord* /*order*/) {}
    /// [74] A fill of one of the investor's orders.
    virtual void OnTradeNty(const NarvTradeRecord* /*trade*/) {}
    /// [75] Never called; keeps the position.
    virtual void OnSpare75(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [76] Never called; keeps the position.
    virtual void OnSpare76(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [77] Never called; keeps the position.
    virtual void OnSpare77(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [78] Never called; keeps the position.
    virtual void OnSpare78(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [79] Never called; keeps the position.
    virtual void OnSpare79(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [80] Never called; keeps the position.
    virtual void OnSpare80(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [81] Never called; keeps the position.
    virtual void OnSpare81(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [82] Never called; keeps the position.
    virtual void OnSpare82(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [83] Never called; keeps the position.
    virtual void OnSpare83(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [84] Never called; keeps the position.
    virtual void OnSpare84(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [85] Never called; keeps the position.
    virtual void OnSpare85(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [86] Never called; keeps the position.
    virtual void OnSpare86(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [87] Never called; keeps the position.
    virtual void OnSpare87(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [88] Never called; keeps the position.
    virtual void OnSpare88(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [89] Never called; keeps the position.
    virtual void OnSpare89(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [90] Never called; keeps the position.
    virtual void OnSpare90(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [91] Never called; keeps the position.
    virtual void OnSpare91(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [92] Never called; keeps the position.
    virtual void OnSpare92(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [93] Never called; keeps the position.
    virtual void OnSpare93(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [94] Never called; keeps the position.
    virtual void OnSpare94(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [95] Never called; keeps the position.
    virtual void OnSpare95(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [96] Empty answer to ReqExt84.
    virtual void OnExt84Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [97] Empty answer to ReqExt85.
    virtual void OnExt85Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [98] Empty answer to ReqExt86.
    virtual void OnExt86Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [99] Empty answer to ReqExt87.
    virtual void OnExt87Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [100] Answer to ReqCurrencyQuery.
    virtual void OnCurrencyQueryRsp(const NarvCurrencyRecord* /*currency*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [101] Empty answer to ReqExt89.
    virtual void OnExt89Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [102] Empty answer to ReqExt90.
    virtual void OnExt90Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [103] Never called; keeps the position.
    virtual void OnSpare103(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [104] Never called; keeps the position.
    virtual void OnSpare104(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [105] Never called; keeps the position.
    virtual void OnSpare105(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [106] Never called; keeps the position.
    virtual void OnSpare106(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [107] Never called; keeps the position.
    virtual void OnSpare107(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [108] Never called; keeps the position.
    virtual void OnSpare108(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [109] Never called; keeps the position.
    virtual void OnSpare109(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [110] Never called; keeps the position.
    virtual void OnSpare110(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [111] Never called; keeps the position.
    virtual void OnSpare111(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [112] Never called; keeps the position.
    virtual void OnSpare112(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [113] Never called; keeps the position.
    virtual void OnSpare113(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [114] Never called; keeps the position.
    virtual void OnSpare114(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [115] Never called; keeps the position.
    virtual void OnSpare115(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [116] Never called; keeps the position.
    virtual void OnSpare116(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [117] Never called; keeps the position.
    virtual void OnSpare117(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [118] Never called; keeps the position.
    virtual void OnSpare118(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [119] Never called; keeps the position.
    virtual void OnSpare119(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [120] Never called; keeps the position.
    virtual void OnSpare120(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [121] Empty answer to ReqExt93.
    virtual void OnExt93Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [122] Never called; keeps the position.
    virtual void OnSpare122(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [123] Never called; keeps the position.
    virtual void OnSpare123(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [124] Never called; keeps the position.
    virtual void OnSpare124(const void* /*record*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [125] Empty answer to ReqExt94.
    virtual void OnExt94Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}
    /// [126] Empty answer to ReqExt95.
    virtual void OnExt95Rsp(const void* /*request*/,
            const NarvRspInfoRecord* /*rspInfo*/, int /*requestId*/, bool /*isLast*/) {}

protected:
    ~CNarvSqelTraderSpi() = default;
};

// ---------------------------------------------------------------------------
// Request interface
// ---------------------------------------------------------------------------

/// The trading API object. Created by CreateSqelTraderApi and destroyed only
/// by Release. Requests may be made from any thread: each copies its record
/// and hands it to the network thread, so the caller may reuse the record at
/// once and no request waits for the network.
class CNarvSqelTraderApi
{
public:
    /// Creates an API object; the argument is accepted and ignored.
    static NARV_TRADER_API_EXPORT CNarvSqelTraderApi* CreateSqelTraderApi(const char* flowPath = "");

    /// Version of the library, "6.5.1".
    static NARV_TRADER_API_EXPORT const char* GetApiVersion();

    /// [0] Stops the library and frees this object; the pointer is invalid afterwards.
    virtual void Release() = 0;
    /// [1] Starts the reply thread and connects to the registered fronts.
    virtual void Init() = 0;
    /// [2] Waits until the reply thread has ended (after Release); returns 0.
    virtual int Join() = 0;
    /// [3] Trading day of the last successful login, YYYYMMDD; empty before.
    virtual const char* GetTradingDay() = 0;
    /// [4] Adds a front address: a six-character scheme prefix (such as tcp://) followed by host:port.
    virtual void RegisterFront(const char* frontAddress) = 0;
    /// [5] Accepted and ignored.
    virtual void RegisterExt5(const void* address) = 0;
    /// [6] Accepted and ignored.
    virtual void RegisterExt6(const void* address) = 0;
    /// [7] Sets the callback object; it must outlive this object or be replaced first.
    virtual void RegisterSpi(CNarvSqelTraderSpi* spi) = 0;
    /// [8] How the account push flow resumes after login: 0 replays from the beginning, 1 resumes after the last push seen, 2 takes new pushes only, other values do not subscribe.
    virtual void SetAccountFlowResume(int resumeMode) = 0;
    /// [9] Same as SetAccountFlowResume, for the market-wide push flow.
    virtual void SetMarketFlowResume(int resumeMode) = 0;
    /// [10] Client authentication before login; accepted locally, answered through OnAuthenticateRsp.
    virtual int ReqAuthenticate(const NarvAuthenticateReqRecord* authenticate, int requestId) = 0;
    /// [11] Not provided: returns -3.
    virtual int ReqExt11(const void* request) = 0;
    /// [12] Not provided: returns -3.
    virtual int ReqExt12(const void* request) = 0;
    /// [13] Logs the investor in; answered through OnLoginRsp.
    virtual int ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) = 0;
    /// [14] Logs the session's investor out; answered through OnLogoutRsp.
    virtual int ReqLogout(const NarvLogoutRecord* logout, int requestId) = 0;
    /// [15] Changes the session investor's password; answered through OnChangePasswordRsp.
    virtual int ReqChangePassword(const NarvChangePasswordRecord* changePassword, int requestId) = 0;
    /// [16] Not provided: returns -3.
    virtual int ReqExt16(const void* request, int requestId) = 0;
    /// [17] Acknowledged locally with result 0 through OnAcknowledgeRsp.
    virtual int ReqAcknowledge(const NarvAcknowledgeRecord* acknowledge, int requestId) = 0;
    /// [18] Not provided: returns -3.
    virtual int ReqExt18(const void* request, int requestId) = 0;
    /// [19] Not provided: returns -3.
    virtual int ReqExt19(const void* request, int requestId) = 0;
    /// [20] Not provided: returns -3.
    virtual int ReqExt20(const void* request, int requestId) = 0;
    /// [21] Not provided: returns -3.
    virtual int ReqExt21(const void* request, int requestId) = 0;
    /// [22] Not provided: returns -3.
    virtual int ReqExt22(const void* request, int requestId) = 0;
    /// [23] Enters an order; a rejection comes through OnInputOrderRsp, its life through OnOrderNty and OnTradeNty.
    virtual int ReqInputOrder(const NarvInputOrderRecord* inputOrder, int requestId) = 0;
    /// [24] Not provided: returns -3.
    virtual int ReqExt24(const void* request, int requestId) = 0;
    /// [25] Not provided: returns -3.
    virtual int ReqExt25(const void* request, int requestId) = 0;
    /// [26] Cancels an order; a rejection comes through OnOrderCancelRsp.
    virtual int ReqOrderCancel(const NarvOrderActionRecord* orderAction, int requestId) = 0;
    /// [27] Largest quantity that may be ordered; answered locally (no limit) through OnMaxOrderQtyQueryRsp.
    virtual int ReqMaxOrderQtyQuery(const NarvMaxOrderQtyRecord* maxOrderQty, int requestId) = 0;
    /// [28] Confirms the settlement statement; answered locally with the time of confirmation through OnSettlementConfirmRsp.
    virtual int ReqSettlementConfirm(const NarvSettlementConfirmRecord* confirm, int requestId) = 0;
    /// [29] Not provided: returns -3.
    virtual int ReqExt29(const void* request, int requestId) = 0;
    /// [30] Not provided: returns -3.
    virtual int ReqExt30(const void* request, int requestId) = 0;
    /// [31] Not served by this library: answered "Not supported" through OnExt31Rsp.
    virtual int ReqExt31(const void* request, int requestId) = 0;
    /// [32] Not served by this library: answered "Not supported" through OnExt32Rsp.
    virtual int ReqExt32(const void* request, int requestId) = 0;
    /// [33] Not served by this library: answered "Not supported" through OnExt33Rsp.
    virtual int ReqExt33(const void* request, int requestId) = 0;
    /// [34] Not served by this library: answered "Not supported" through OnExt34Rsp.
    virtual int ReqExt34(const void* request, int requestId) = 0;
    /// [35] Not served by this library: answered "Not supported" through OnExt35Rsp.
    virtual int ReqExt35(const void* request, int requestId) = 0;
    /// [36] Not provided: returns -3.
    virtual int ReqExt36(const void* request, int requestId) = 0;
    /// [37] Not served by this library: answered with an empty reply through OnExt37Rsp.
    virtual int ReqExt37(const void* request, int requestId) = 0;
    /// [38] Not served by this library: answered with an empty reply through OnExt38Rsp.
    virtual int ReqExt38(const void* request, int requestId) = 0;
    /// [39] Not provided: returns -3.
    virtual int ReqExt39(const void* request, int requestId) = 0;
    /// [40] Queries the session's orders; answered through OnOrderQueryRsp.
    virtual int ReqOrderQuery(const NarvOrderQueryRecord* orderQuery, int requestId) = 0;
    /// [41] Queries the session's trades; answered through OnTradeQueryRsp.
    virtual int ReqTradeQuery(const NarvTradeQueryRecord* tradeQuery, int requestId) = 0;
    /// [42] Queries positions; answered through OnPosiQueryRsp.
    virtual int ReqPosiQuery(const NarvPosiQueryRecord* posiQuery, int requestId) = 0;
    /// [43] Queries the session investor's funds; answered through OnFundQueryRsp.
    virtual int ReqFundQuery(const NarvFundQueryRecord* fundQuery, int requestId) = 0;
    /// [44] Describes the session's investor; answered locally through OnInvestorQueryRsp.
    virtual int ReqInvestorQuery(const NarvInvestorQueryRecord* investorQuery, int requestId) = 0;
    /// [45] Not served by this library: answered with an empty reply through OnExt45Rsp.
    virtual int ReqExt45(const void* request, int requestId) = 0;
    /// [46] Queries the investor's margin rates; answered through OnInvestorMarginRateQueryRsp.
    virtual int ReqInvestorMarginRateQuery(const NarvInvestorMarginRateQueryRecord* marginRateQuery, int requestId) = 0;
    /// [47] Queries the investor's fee rates; answered through OnInvestorFeeRateQueryRsp.
    virtual int ReqInvestorFeeRateQuery(const NarvInvestorFeeRateQueryRecord* feeRateQuery, int requestId) = 0;
    /// [48] Queries exchanges; answered through OnExchangeQueryRsp.
    virtual int ReqExchangeQuery(const NarvExchangeQueryRecord* exchangeQuery, int requestId) = 0;
    /// [49] Queries products; answered through OnProductQueryRsp (classes '3' to '6' with "Not supported").
    virtual int ReqProductQuery(const NarvProductQueryRecord* productQuery, int requestId) = 0;
    /// [50] Queries instruments; answered through OnInstrumentQueryRsp.
    virtual int ReqInstrumentQuery(const NarvInstrumentQueryRecord* instrumentQuery, int requestId) = 0;
    /// [51] Queries the latest quote of instruments; answered through OnQuotQueryRsp.
    virtual int ReqQuotQuery(const NarvQuotQueryRecord* quotQuery, int requestId) = 0;
    /// [52] Not served by this library: answered with an empty reply through OnExt52Rsp.
    virtual int ReqExt52(const void* request, int requestId) = 0;
    /// [53] Not served by this library: answered with an empty reply through OnExt53Rsp.
    virtual int ReqExt53(const void* request, int requestId) = 0;
    /// [54] Queries position details; answered through OnPosiDetailQueryRsp.
    virtual int ReqPosiDetailQuery(const NarvPosiDetailQueryRecord* posiDetailQuery, int requestId) = 0;
    /// [55] Not served by this library: answered with an empty reply through OnExt55Rsp.
    virtual int ReqExt55(const void* request, int requestId) = 0;
    /// [56] Asks whether the settlement statement was confirmed; answered locally with the current time through OnSettlementConfirmQueryRsp.
    virtual int ReqSettlementConfirmQuery(const NarvSettlementConfirmRecord* confirmQuery, int requestId) = 0;
    /// [57] Not served by this library: answered with an empty reply through OnExt57Rsp.
    virtual int ReqExt57(const void* request, int requestId) = 0;
    /// [58] Not served by this library: answered with an empty reply through OnExt58Rsp.
    virtual int ReqExt58(const void* request, int requestId) = 0;
    /// [59] Not provided: returns -3.
    virtual int ReqExt59(const void* request, int requestId) = 0;
    /// [60] Not provided: returns -3.
    virtual int ReqExt60(const void* request, int requestId) = 0;
    /// [61] Queries the exchanges' margin rates; answered through OnExchangeMarginRateQueryRsp.
    virtual int ReqExchangeMarginRateQuery(const NarvExchangeMarginRateQueryRecord* marginRateQuery, int requestId) = 0;
    /// [62] Not provided: returns -3.
    virtual int ReqExt62(const void* request, int requestId) = 0;
    /// [63] Not provided: returns -3.
    virtual int ReqExt63(const void* request, int requestId) = 0;
    /// [64] Not provided: returns -3.
    virtual int ReqExt64(const void* request, int requestId) = 0;
    /// [65] Not provided: returns -3.
    virtual int ReqExt65(const void* request, int requestId) = 0;
    /// [66] Not served by this library: answered with an empty reply through OnExt66Rsp.
    virtual int ReqExt66(const void* request, int requestId) = 0;
    /// [67] Not provided: returns -3.
    virtual int ReqExt67(const void* request, int requestId) = 0;
    /// [68] Not provided: returns -3.
    virtual int ReqExt68(const void* request, int requestId) = 0;
    /// [69] Not served by this library: answered with an empty reply through OnExt69Rsp.
    virtual int ReqExt69(const void* request, int requestId) = 0;
    /// [70] Not provided: returns -3.
    virtual int ReqExt70(const void* request, int requestId) = 0;
    /// [71] Not provided: returns -3.
    virtual int ReqExt71(const void* request, int requestId) = 0;
    /// [72] Not served by this library: answered with an empty reply through OnExt72Rsp.
    virtual int ReqExt72(const void* request, int requestId) = 0;
    /// [73] Not served by this library: answered with an empty reply through OnExt73Rsp.
    virtual int ReqExt73(const void* request, int requestId) = 0;
    /// [74] Not served by this library: answered with an empty reply through OnExt74Rsp.
    virtual int ReqExt74(const void* request, int requestId) = 0;
    /// [75] Not served by this library: answered with an empty reply through OnExt75Rsp.
    virtual int ReqExt75(const void* request, int requestId) = 0;
    /// [76] Not served by this library: answered with an empty reply through OnExt76Rsp.
    virtual int ReqExt76(const void* request, int requestId) = 0;
    /// [77] Not served by this library: answered with an empty reply through OnExt77Rsp.
    virtual int ReqExt77(const void* request, int requestId) = 0;
    /// [78] Not served by this library: answered with an empty reply through OnExt78Rsp.
    virtual int ReqExt78(const void* request, int requestId) = 0;
    /// [79] Not served by this library: answered with an empty reply through OnExt79Rsp.
    virtual int ReqExt79(const void* request, int requestId) = 0;
    /// [80] Not served by this library: answered with an empty reply through OnExt80Rsp.
    virtual int ReqExt80(const void* request, int requestId) = 0;
    /// [81] Not served by this library: answered with an empty reply through OnExt81Rsp.
    virtual int ReqExt81(const void* request, int requestId) = 0;
    /// [82] Not served by this library: answered with an empty reply through OnExt82Rsp.
    virtual int ReqExt82(const void* request, int requestId) = 0;
    /// [83] Not served by this library: answered with an empty reply through OnExt83Rsp.
    virtual int ReqExt83(const void* request, int requestId) = 0;
    /// [84] Not served by this library: answered with an empty reply through OnExt84Rsp.
    virtual int ReqExt84(const void* request, int requestId) = 0;
    /// [85] Not served by this library: answered with an empty reply through OnExt85Rsp.
    virtual int ReqExt85(const void* request, int requestId) = 0;
    /// [86] Not served by this library: answered with an empty reply through OnExt86Rsp.
    virtual int ReqExt86(const void* request, int requestId) = 0;
    /// [87] Not served by this library: answered with an empty reply through OnExt87Rsp.
    virtual int ReqExt87(const void* request, int requestId) = 0;
    /// [88] Queries the account's currency; answered locally through OnCurrencyQueryRsp.
    virtual int ReqCurrencyQuery(const NarvCurrencyRecord* currencyQuery, int requestId) = 0;
    /// [89] Not served by this library: answered with an empty reply through OnExt89Rsp.
    virtual int ReqExt89(const void* request, int requestId) = 0;
    /// [90] Not served by this library: answered with an empty reply through OnExt90Rsp.
    virtual int ReqExt90(const void* request, int requestId) = 0;
    /// [91] Not provided: returns -3.
    virtual int ReqExt91(const void* request, int requestId) = 0;
    /// [92] Not provided: returns -3.
    virtual int ReqExt92(const void* request, int requestId) = 0;
    /// [93] Not served by this library: answered with an empty reply through OnExt93Rsp.
    virtual int ReqExt93(const void* request, int requestId) = 0;
    /// [94] Not served by this library: answered with an empty reply through OnExt94Rsp.
    virtual int ReqExt94(const void* request, int requestId) = 0;
    /// [95] Not served by this library: answered with an empty reply through OnExt95Rsp.
    virtual int ReqExt95(const void* request, int requestId) = 0;

protected:
    ~CNarvSqelTraderApi() = default;
};

#endif // NARV_SQEL_TRADER_API_H
