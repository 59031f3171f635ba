#include "TraderRecordConversions.h"

#include <cstring>

#include "TraderCodeTables.h"
#include "TraderText.h"

namespace {

// Rates come as a ratio ('R') or per lot (any other type); the application keeps one field for each.
struct RatePair {
    double byRatio;
    double byQty;
};
RatePair SplitRate(char rateType, double rate) {
    return rateType == 'R' ? RatePair{rate, 0.0} : RatePair{0.0, rate};
}

}  // namespace

// ---- requests -----------------------------------------------------------------------------------

NELOLoginReqRecord TraderBuildLoginReq(const TraderSessionFields& session, const NarvLoginReqRecord& request) {
    NELOLoginReqRecord record{};
    TraderCopyText(record.InvestorID, session.investorID, 15);
    TraderCopyText(record.InvestorPassword, request.InvestorPassword, 20);
    return record;
}

NELOInvestorRecord TraderBuildInvestorKey(const TraderSessionFields& session) {
    NELOInvestorRecord record{};
    TraderCopyText(record.InvestorID, session.investorID, 15);
    return record;
}

NELOChangePasswordRecord TraderBuildChangePassword(const TraderSessionFields& session,
                                                   const NarvChangePasswordRecord& request) {
    NELOChangePasswordRecord record{};
    TraderCopyText(record.InvestorID, session.investorID, 15);
    TraderCopyText(record.InvestorOldPassword, request.OldPassword, 20);
    TraderCopyText(record.InvestorNewPassword, request.NewPassword, 20);
    return record;
}

NELOInputOrderRecord TraderBuildInputOrder(const TraderSessionFields& session, const NarvInputOrderRecord& request) {
    NELOInputOrderRecord record{};
    TraderCopyText(record.ExchangeID, request.ExchangeID, 16);
    TraderCopyText(record.InvestorID, request.InvestorID, 15);
    TraderCopyText(record.InstrumentID, request.InstrumentID, 15);
    TraderCopyText(record.OrderRef, request.OrderRef, 30);
    TraderCopyText(record.ClientID, request.ClientID, 15);
    TraderCopyText(record.IPAddress, request.IPAddress, 32);
    TraderCopyText(record.MacAddress, request.MacAddress, 32);
    TraderCopyText(record.InvestorUnit, request.InvestorUnit, 16);
    record.Price = request.Price;
    record.Qty = request.Qty;
    record.RequestID = request.RequestID;
    record.TimeCondition = request.TimeCondition;
    record.VolumeCondition = request.VolumeCondition;
    record.PriceType = kPriceTypeToWire.Map(request.PriceType);
    record.BSFlag = kBSFlagToWire.Map(request.BSFlag);
    const CTraderCodeMap& ocFlags = TraderIsCloseTodayExchange(record.ExchangeID) ? kOCFlagToWireCloseTodayExchange
                                                                                  : kOCFlagToWireOtherExchange;
    record.OCFlag = ocFlags.Map(request.OCFlag);
    record.ConditionType = 'P';
    record.ConditionMethod = '5';
    record.ConditionPrice = 0.0;
    record.SessionID = TraderJoinSessionID(session.frontID, session.sessionID);
    return record;
}

NELOOrderCancelRecord TraderBuildOrderCancel(const NarvOrderActionRecord& request) {
    NELOOrderCancelRecord record{};
    TraderCopyText(record.InvestorID, request.InvestorID, 15);
    TraderCopyText(record.ExchangeID, request.ExchangeID, 16);
    TraderCopyText(record.InstrumentID, request.InstrumentID, 15);
    TraderCopyText(record.OrderSysID, request.OrderSysID, 30);
    TraderCopyText(record.OrderRef, request.OrderRef, 30);
    record.SessionID = TraderJoinSessionID(request.FrontID, request.SessionID);
    return record;
}

NELOExchangeKeyRecord TraderBuildExchangeKey(const NarvExchangeQueryRecord& request) {
    NELOExchangeKeyRecord key{};
    TraderCopyText(key.ExchangeID, request.ExchangeID, 16);
    return key;
}

bool TraderBuildProductKey(const NarvProductQueryRecord& request, NELOProductKeyRecord* key) {
    *key = NELOProductKeyRecord{};
    const char type = kProductClassToWire.Map(request.ProductClass);
    if (type == kProductClassNotSupported) {
        return false;
    }
    key->InstrumentType = type;
    TraderCopyText(key->ExchangeID, request.ExchangeID, 16);
    TraderCopyText(key->ProductID, request.ProductID, 10);
    return true;
}

// ---- replies ------------------------------------------------------------------------------------

void TraderFillRspInfo(const NELORspInfoRecord& source, NarvRspInfoRecord* target) {
    *target = NarvRspInfoRecord{};
    target->ErrorID = static_cast<std::uint16_t>(source.RspNo);  // zero extension: 0xFFFF is 65535
    TraderCopyText(target->ErrorMsg, source.RspDesc, 80);
}

void TraderLoginTradingDay(const NELOLoginRspRecord& source, char (&tradingDay)[9]) {
    std::memset(tradingDay, 0, sizeof(tradingDay));
    TraderCopyDashlessDate(tradingDay, source.TradeDate);
}

void TraderFillLoginRsp(const NELOLoginRspRecord& source, const TraderSessionFields& session,
                        const TraderLocalTime& now, NarvLoginRspRecord* target) {
    *target = NarvLoginRspRecord{};
    TraderLoginTradingDay(source, target->TradingDay);
    CTraderLocalClock::FormatTime(now, target->LoginTime);
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, session.investorID, 15);
    TraderCopyText(target->SysName, source.SysName, 40);
    target->FrontID = TraderFrontOf(source.SessionID);
    target->SessionID = TraderSessionOf(source.SessionID);
    TraderCopyText(target->InitialOrderRef, "1", 12);
    char (*stamps[])[9] = {&target->StampTime1, &target->StampTime2, &target->StampTime3, &target->StampTime4,
                           &target->StampTime5};
    for (auto* stamp : stamps) {
        std::memcpy(*stamp, target->LoginTime, sizeof(target->LoginTime));
    }
}

void TraderFillLogout(const TraderSessionFields& session, NarvLogoutRecord* target) {
    *target = NarvLogoutRecord{};
    TraderCopyText(target->InvestorID, session.investorID, 15);
}

void TraderFillChangePassword(const TraderSessionFields& session, const NarvChangePasswordRecord& saved,
                              NarvChangePasswordRecord* target) {
    *target = NarvChangePasswordRecord{};
    TraderCopyText(target->InvestorID, session.investorID, 15);
    TraderCopyText(target->OldPassword, saved.OldPassword, 40);
    TraderCopyText(target->NewPassword, saved.NewPassword, 40);
}

namespace {

// The fields that order entry replies, order pushes and order queries have in common.
template <class Order, std::size_t InvestorWidth, std::size_t OrderRefWidth>
void FillOrderHead(const TraderSessionFields& session, const char (&investorID)[InvestorWidth],
                   const char (&orderRef)[OrderRefWidth], Order* target) {
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, investorID, 12);
    TraderCopyText(target->OrderRef, orderRef, 12);
    TraderCopyText(target->FullInvestorID, investorID, 15);
    target->HedgeFlag = '1';
    TraderCopyText(target->GoodTillDay, session.tradingDay, 8);
    target->MinQty = 1;
    target->TriggerCondition = '1';
    target->CloseReason = '0';
    target->SuspendFlag = 0;
}

}  // namespace

void TraderFillInputOrderRsp(const NELOInputOrderRecord& source, const TraderSessionFields& session,
                             NarvInputOrderRecord* target) {
    *target = NarvInputOrderRecord{};
    FillOrderHead(session, source.InvestorID, source.OrderRef, target);
    target->PriceType = kPriceTypeFromWire.Map(source.PriceType);
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    target->OCFlag = kOCFlagFromWire.Map(source.OCFlag);
    target->Price = source.Price;
    target->Qty = source.Qty;
    target->TimeCondition = target->PriceType == '1' ? '1' : '3';
    target->VolumeCondition = '1';
    target->ForceFlag = 0;
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillOrderActionRsp(const NELOOrderCancelRecord& source, const TraderSessionFields& session,
                              std::int32_t requestID, NarvOrderActionRecord* target) {
    *target = NarvOrderActionRecord{};
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, source.InvestorID, 12);
    TraderCopyText(target->OrderRef, source.OrderRef, 12);
    target->RequestID = requestID;
    target->FrontID = TraderFrontOf(source.SessionID);
    target->SessionID = TraderSessionOf(source.SessionID);
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->OrderSysID, source.OrderSysID, 20);
    target->ActionFlag = '0';
    TraderCopyText(target->FullInvestorID, source.InvestorID, 15);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillOrder(const NELOOrderRecord& source, const TraderSessionFields& session, NarvOrderRecord* target) {
    *target = NarvOrderRecord{};
    FillOrderHead(session, source.InvestorID, source.OrderRef, target);
    target->PriceType = kPriceTypeFromWire.Map(source.PriceType);
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    target->OCFlag = kOCFlagFromWire.Map(source.OCFlag);
    target->Price = source.Price;
    target->Qty = source.Qty;
    target->TimeCondition = source.TimeCondition;
    target->VolumeCondition = source.VolumeCondition;
    target->RequestID = source.RequestID;
    TraderCopyText(target->OrderID, source.OrderID, 12);
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->ClientID, source.ClientID, 10);
    TraderCopyText(target->AccountID, source.AccountID, 20);
    target->OrderSubmitStatus = source.OrderSubmitStatus;
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    TraderCopyText(target->OrderSysID, source.OrderSysID, 20);
    target->OrderStatus = TraderOrderStatusFromWire(source.OrderStatus, source.Qty == source.QtyLeft);
    // Two's complement wrap rather than overflow for absurd quantities.
    target->QtyTraded = static_cast<std::int32_t>(static_cast<std::uint32_t>(source.Qty) -
                                                  static_cast<std::uint32_t>(source.QtyLeft));
    target->QtyLeft = source.QtyLeft;
    TraderCopyDashlessDate(target->OrderDate, source.OrderDate);
    TraderCopyText(target->OrderTime, source.OrderTime, 8);
    TraderCopyText(target->ModifyTime, source.ModifyTime, 8);
    target->FrontID = TraderFrontOf(source.SessionID);
    target->SessionID = TraderSessionOf(source.SessionID);
    TraderCopyText(target->UserProductInfo, source.UserProductInfo, 10);
    if (source.OrderStatusDesc[0] != '\0') {
        TraderCopyText(target->OrderStatusDesc, source.OrderStatusDesc, 80);
    } else {
        TraderCopyString(target->OrderStatusDesc, TraderOrderStatusText(target->OrderStatus), 80);
    }
    target->SpareInt1 = 0;
    target->OrderIDNumber = TraderDecimalValue(source.OrderID, sizeof(source.OrderID));
    TraderCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    TraderCopyText(target->MacAddress, source.MacAddress, 20);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
    TraderCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
    TraderCopyText(target->IPAddress, source.IPAddress, 32);
}

void TraderFillTrade(const NELOTradeRecord& source, const TraderSessionFields& session, NarvTradeRecord* target) {
    *target = NarvTradeRecord{};
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, source.InvestorID, 12);
    TraderCopyText(target->OrderRef, source.OrderRef, 12);
    TraderCopyText(target->FullInvestorID, source.InvestorID, 15);
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->MatchID, source.MatchID, 20);
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    TraderCopyText(target->OrderSysID, source.OrderSysID, 20);
    TraderCopyText(target->ClientID, source.ClientID, 10);
    target->OCFlag = kOCFlagFromWire.Map(source.OCFlag);
    target->HedgeFlag = '1';
    target->Price = source.Price;
    target->Qty = source.Qty;
    TraderCopyDashlessDate(target->MatchDate, source.MatchDate);
    TraderCopyText(target->MatchTime, source.MatchTime, 8);
    target->MatchType = '0';
    TraderCopyText(target->AccountID, source.AccountID, 20);
    TraderCopyText(target->OrderID, source.OrderID, 12);
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    target->OrderIDNumber = TraderDecimalValue(source.OrderID, sizeof(source.OrderID));
    TraderCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
    TraderCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
}

void TraderFillFund(const NELOFundRecord& source, const TraderSessionFields& session, NarvFundRecord* target) {
    *target = NarvFundRecord{};
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, session.investorID, 12);
    target->LastBalance = source.LastBalance;
    target->InAmount = source.InAmount;
    target->OutAmount = source.OutAmount;
    target->FrozenMargin = source.FrozenMargin;
    target->FrozenCash = source.FrozenCash;
    target->FeeFrozen = source.FeeFrozen;
    target->Margin = source.Margin;
    target->CashIn = source.CashIn;
    target->Fee = source.Fee;
    target->ClosedPL = source.ClosedPL;
    target->FloatingPL = source.FloatingPL;
    target->FloatBalance = source.FloatBalance;
    target->FreeBalance = source.FreeBalance;
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    target->SpareValue1 = 0.0;
    TraderCopyText(target->Currency, "CNY", 3);
}

void TraderFillPosi(const NELOPosiRecord& source, const TraderSessionFields& session, NarvPosiRecord* target) {
    *target = NarvPosiRecord{};
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, session.investorID, 12);
    target->BSFlag = kPosiBSFlagFromWire.Map(source.BSFlag);
    target->HedgeFlag = '1';
    target->PositionDate = kPositionDateFromWire.Map(source.PositionDate);
    target->PreQty = source.PreQty;
    target->Qty = source.Qty;
    target->LongFrozen = source.LongFrozen;
    target->ShortFrozen = source.ShortFrozen;
    target->LongFrozenAmount = source.LongFrozenAmount;
    target->ShortFrozenAmount = source.ShortFrozenAmount;
    target->OpenVolume = source.OpenVolume;
    target->CloseVolume = source.CloseVolume;
    target->OpenAmount = source.OpenAmount;
    target->CloseAmount = source.CloseAmount;
    target->Cost = source.Cost;
    target->PreMargin = source.PreMargin;
    target->Margin = source.Margin;
    target->FrozenMargin = source.FrozenMargin;
    target->FrozenCash = source.FrozenCash;
    target->CashIn = source.CashIn;
    target->ClosedPL = source.ClosedPL;
    target->FloatingPL = source.FloatingPL;
    target->PreSettle = source.PreSettle;
    target->SettlePrice = source.SettlePrice;
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    target->OpenCost = source.OpenCost;
    target->MarginCopy = source.Margin;
    target->CloseProfitByDate = source.CloseProfitByDate;
    target->CloseProfitByTrade = source.CloseProfitByTrade;
    target->TodayQty = source.TodayQty;
    target->MarginRateByRatio = source.MarginRateType == 'R' ? source.MarginRate : 0.0;
    target->MarginRateByAmount = source.MarginRateType == 'A' ? source.MarginRate : 0.0;
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->PositionCostOffset = source.PositionCostOffset;
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillPosiDetail(const NELOPosiDetailRecord& source, const TraderSessionFields& session,
                          NarvPosiDetailRecord* target) {
    *target = NarvPosiDetailRecord{};
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, session.investorID, 12);
    target->HedgeFlag = '1';
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    TraderCopyDashlessDate(target->CreateTradeDate, source.CreateTradeDate);
    TraderCopyText(target->MatchID, source.MatchID, 20);
    target->QtyLeft = source.QtyLeft;
    target->CreatePrice = source.CreatePrice;
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    target->TradeType = '0';
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->CloseProfitByDate = source.CloseProfitByDate;
    target->CloseProfitByTrade = source.CloseProfitByTrade;
    target->PositionProfitByDate = source.PositionProfitByDate;
    target->PositionProfitByTrade = source.PositionProfitByTrade;
    target->Margin = source.Margin;
    target->PreSettle = source.PreSettle;
    target->SettlePrice = source.SettlePrice;
    target->CloseVolume = source.CloseVolume;
    target->CloseAmount = source.CloseAmount;
    TraderCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillInstrument(const NELOInstrumentRecord& source, const TraderSessionFields& /*session*/,
                          NarvInstrumentRecord* target) {
    *target = NarvInstrumentRecord{};
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->InstrumentName, source.InstrumentName, 20);
    target->InstrumentType = kInstrumentTypeFromWire.Map(source.InstrumentType);
    TraderCopyDashlessDate(target->OpenDate, source.OpenDate);
    TraderCopyDashlessDate(target->ExpiredDate, source.ExpiredDate);
    std::memcpy(target->LastDeliveryDate, target->ExpiredDate, sizeof(target->ExpiredDate));
    const std::int32_t expiry = TraderDecimalValue(target->ExpiredDate, 8);
    target->ExpiryYear = expiry / 10000;
    target->ExpiryMonth = expiry / 100 % 100;
    target->MaxMarketOrderQty = 2147483647;
    target->MinMarketOrderQty = 1;
    target->MaxLimitOrderQty = 2147483647;
    target->MinLimitOrderQty = 1;
    target->TradeUnit = source.TradeUnit;
    target->MinMovement = source.MinMovement;
    target->TradingPhase = '1';
    target->TradableFlag = 1;
    target->PositionKind = '2';
    target->PositionDateKind = '1';
    target->LongMarginRate = source.MarginRate;
    target->ShortMarginRate = source.MarginRate;
    target->MarginSideRule = '0';
    target->StrikePrice = source.StrikePrice;
    target->OptionsType = kOptionsTypeFromWire.Map(source.OptionsType);
    target->CombinationKind = '0';
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
    TraderCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
    TraderCopyText(target->GoodsName, source.GoodsName, 80);
    TraderCopyText(target->UnderlyingInstrID, source.UnderlyingInstrID, 80);
}

void TraderFillFeeRate(const NELOFeeRateRecord& source, const TraderSessionFields& session,
                       NarvInvestorFeeRateRecord* target) {
    *target = NarvInvestorFeeRateRecord{};
    target->InvestorScope = '1';
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, source.InvestorID, 12);
    const RatePair open = SplitRate(source.FeeType, source.FeeRate);
    const RatePair close = SplitRate(source.FeeType, source.CloseFeeRate);
    const RatePair closeToday = SplitRate(source.FeeType, source.CloseTodayFeeRate);
    target->OpenFeeByRatio = open.byRatio;
    target->OpenFeeByQty = open.byQty;
    target->CloseFeeByRatio = close.byRatio;
    target->CloseFeeByQty = close.byQty;
    target->CloseTodayFeeByRatio = closeToday.byRatio;
    target->CloseTodayFeeByQty = closeToday.byQty;
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillInvestorMarginRate(const NELOMarginRateRecord& source, const TraderSessionFields& session,
                                  NarvInvestorMarginRateRecord* target) {
    *target = NarvInvestorMarginRateRecord{};
    target->InvestorScope = '1';
    TraderCopyText(target->FirmID, session.firmID, 10);
    TraderCopyText(target->InvestorID, source.InvestorID, 12);
    target->HedgeFlag = '1';
    const RatePair longRate = SplitRate(source.MarginRateType, source.LongMarginRate);
    const RatePair shortRate = SplitRate(source.MarginRateType, source.ShortMarginRate);
    target->LongMarginByRatio = longRate.byRatio;
    target->LongMarginByQty = longRate.byQty;
    target->ShortMarginByRatio = shortRate.byRatio;
    target->ShortMarginByQty = shortRate.byQty;
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillExchangeMarginRate(const NELOMarginRateRecord& source, const TraderSessionFields& /*session*/,
                                  NarvExchangeMarginRateRecord* target) {
    *target = NarvExchangeMarginRateRecord{};
    target->HedgeFlag = '1';
    const RatePair longRate = SplitRate(source.MarginRateType, source.LongMarginRate);
    const RatePair shortRate = SplitRate(source.MarginRateType, source.ShortMarginRate);
    target->LongMarginByRatio = longRate.byRatio;
    target->LongMarginByQty = longRate.byQty;
    target->ShortMarginByRatio = shortRate.byRatio;
    target->ShortMarginByQty = shortRate.byQty;
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillProduct(const NELOProductRecord& source, const TraderSessionFields& /*session*/,
                       NarvProductRecord* target) {
    *target = NarvProductRecord{};
    TraderCopyText(target->ProductName, source.ProductName, 20);
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->InstrumentType = kProductTypeFromWire.Map(source.InstrumentType);
    TraderCopyText(target->ProductID, source.ProductID, 80);
    TraderCopyText(target->ExchangeProductID, source.ProductID, 80);
}

void TraderFillExchange(const NELOExchangeRecord& source, const TraderSessionFields& /*session*/,
                        NarvExchangeRecord* target) {
    *target = NarvExchangeRecord{};
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    TraderCopyText(target->ExchangeName, source.ExchangeName, 60);
    target->ExchangeProperty = '0';
}

void TraderFillQuot(const NELOQuotRecord& source, const TraderSessionFields& session, NarvQuotRecord* target) {
    *target = NarvQuotRecord{};
    TraderCopyText(target->TradingDay, session.tradingDay, 8);
    TraderCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->Price = source.Price;
    target->PreSettle = source.PreSettle;
    target->PreClose = source.PreClose;
    target->PreOI = static_cast<double>(source.PreOI);
    target->OpenPrice = source.OpenPrice;
    target->HighestPrice = source.HighestPrice;
    target->LowestPrice = source.LowestPrice;
    target->QtyTotal = static_cast<std::int32_t>(static_cast<std::uint64_t>(source.QtyTotal) & 0xFFFFFFFFu);
    target->Amount = source.Amount;
    target->OI = static_cast<double>(source.OI);
    target->ClosePrice = source.Price;
    target->SettlePrice = source.SettlePrice;
    target->HighLimit = source.HighLimit;
    target->LowLimit = source.LowLimit;
    TraderCopyText(target->ModifyTime, source.ModifyTime, 8);
    target->BidPrice = source.BidPrice;
    target->BidQty = source.BidQty;
    target->AskPrice = source.AskPrice;
    target->AskQty = source.AskQty;
    TraderCopyDashlessDate(target->ModifyDate, source.ModifyDate);
    TraderCopyText(target->InstrumentID, source.InstrumentID, 80);
}
