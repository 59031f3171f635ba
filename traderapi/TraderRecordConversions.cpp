#include "TraderRecordConversions.h"

#include <cstring>

#include "FacadeReplies.h"
#include "FacadeText.h"
#include "TraderCodeTables.h"

namespace {

// Rates come as a ratio ('R') or per lot (any other type); the application keeps one field for each.
struct RatePair {
    double byRatio;
    double byQty;
};
RatePair SplitRate(char rateType, double rate) { return rateType == 'R' ? RatePair{rate, 0.0} : RatePair{0.0, rate}; }

}  // namespace

// ---- requests -----------------------------------------------------------------------------------

NELOLoginReqRecord TraderBuildLoginReq(const TraderSessionFields& session, const NarvLoginReqRecord& request) {
    NELOLoginReqRecord record{};
    FacadeCopyText(record.InvestorID, session.investorID, 15);
    FacadeCopyText(record.InvestorPassword, request.InvestorPassword, 20);
    return record;
}

NELOInvestorRecord TraderBuildInvestorKey(const TraderSessionFields& session) {
    NELOInvestorRecord record{};
    FacadeCopyText(record.InvestorID, session.investorID, 15);
    return record;
}

NELOChangePasswordRecord TraderBuildChangePassword(const TraderSessionFields& session,
                                                   const NarvChangePasswordRecord& request) {
    NELOChangePasswordRecord record{};
    FacadeCopyText(record.InvestorID, session.investorID, 15);
    FacadeCopyText(record.InvestorOldPassword, request.OldPassword, 20);
    FacadeCopyText(record.InvestorNewPassword, request.NewPassword, 20);
    return record;
}

NELOInputOrderRecord TraderBuildInputOrder(const TraderSessionFields& session, const NarvInputOrderRecord& request) {
    NELOInputOrderRecord record{};
    FacadeCopyText(record.ExchangeID, request.ExchangeID, 16);
    FacadeCopyText(record.InvestorID, request.InvestorID, 15);
    FacadeCopyText(record.InstrumentID, request.InstrumentID, 15);
    FacadeCopyText(record.OrderRef, request.OrderRef, 30);
    FacadeCopyText(record.ClientID, request.ClientID, 15);
    FacadeCopyText(record.IPAddress, request.IPAddress, 32);
    FacadeCopyText(record.MacAddress, request.MacAddress, 32);
    FacadeCopyText(record.InvestorUnit, request.InvestorUnit, 16);
    record.Price = request.Price;
    record.Qty = request.Qty;
    record.RequestID = request.RequestID;
    record.TimeCondition = request.TimeCondition;
    record.VolumeCondition = request.VolumeCondition;
    record.PriceType = kPriceTypeToWire.Map(request.PriceType);
    record.BSFlag = kBSFlagToWire.Map(request.BSFlag);
    const CTraderCodeMap& ocFlags =
        TraderIsCloseTodayExchange(record.ExchangeID) ? kOCFlagToWireCloseTodayExchange : kOCFlagToWireOtherExchange;
    record.OCFlag = ocFlags.Map(request.OCFlag);
    record.ConditionType = 'P';
    record.ConditionMethod = '5';
    record.ConditionPrice = 0.0;
    record.SessionID = FacadeJoinSessionID(session.frontID, session.sessionID);
    return record;
}

NELOOrderCancelRecord TraderBuildOrderCancel(const NarvOrderActionRecord& request) {
    NELOOrderCancelRecord record{};
    FacadeCopyText(record.InvestorID, request.InvestorID, 15);
    FacadeCopyText(record.ExchangeID, request.ExchangeID, 16);
    FacadeCopyText(record.InstrumentID, request.InstrumentID, 15);
    FacadeCopyText(record.OrderSysID, request.OrderSysID, 30);
    FacadeCopyText(record.OrderRef, request.OrderRef, 30);
    record.SessionID = FacadeJoinSessionID(request.FrontID, request.SessionID);
    return record;
}

NELOExchangeKeyRecord TraderBuildExchangeKey(const NarvExchangeQueryRecord& request) {
    NELOExchangeKeyRecord key{};
    FacadeCopyText(key.ExchangeID, request.ExchangeID, 16);
    return key;
}

bool TraderBuildProductKey(const NarvProductQueryRecord& request, NELOProductKeyRecord* key) {
    *key = NELOProductKeyRecord{};
    const char type = kProductClassToWire.Map(request.ProductClass);
    if (type == kProductClassNotSupported) {
        return false;
    }
    key->InstrumentType = type;
    FacadeCopyText(key->ExchangeID, request.ExchangeID, 16);
    FacadeCopyText(key->ProductID, request.ProductID, 10);
    return true;
}

// ---- replies ------------------------------------------------------------------------------------

void TraderFillRspInfo(const NELORspInfoRecord& source, NarvRspInfoRecord* target) {
    FacadeFillRspInfo(source, target);
}

void TraderFillLoginRsp(const NELOLoginRspRecord& source, const TraderSessionFields& session,
                        const FacadeLocalTime& now, NarvLoginRspRecord* target) {
    FacadeFillLoginRsp(source, session.firmID, session.investorID, now, target);
}

void TraderFillLogout(const TraderSessionFields& session, NarvLogoutRecord* target) {
    *target = NarvLogoutRecord{};
    FacadeCopyText(target->InvestorID, session.investorID, 15);
}

void TraderFillChangePassword(const TraderSessionFields& session, const NarvChangePasswordRecord& saved,
                              NarvChangePasswordRecord* target) {
    *target = NarvChangePasswordRecord{};
    FacadeCopyText(target->InvestorID, session.investorID, 15);
    FacadeCopyText(target->OldPassword, saved.OldPassword, 40);
    FacadeCopyText(target->NewPassword, saved.NewPassword, 40);
}

namespace {

// The fields that order entry replies, order pushes and order queries have in common.
template <class Order, std::size_t InvestorWidth, std::size_t OrderRefWidth>
void FillOrderHead(const TraderSessionFields& session, const char (&investorID)[InvestorWidth],
                   const char (&orderRef)[OrderRefWidth], Order* target) {
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, investorID, 12);
    FacadeCopyText(target->OrderRef, orderRef, 12);
    FacadeCopyText(target->FullInvestorID, investorID, 15);
    target->HedgeFlag = '1';
    FacadeCopyText(target->GoodTillDay, session.tradingDay, 8);
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
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillOrderActionRsp(const NELOOrderCancelRecord& source, const TraderSessionFields& session,
                              std::int32_t requestID, NarvOrderActionRecord* target) {
    *target = NarvOrderActionRecord{};
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, source.InvestorID, 12);
    FacadeCopyText(target->OrderRef, source.OrderRef, 12);
    target->RequestID = requestID;
    target->FrontID = FacadeFrontOf(source.SessionID);
    target->SessionID = FacadeSessionOf(source.SessionID);
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->OrderSysID, source.OrderSysID, 20);
    target->ActionFlag = '0';
    FacadeCopyText(target->FullInvestorID, source.InvestorID, 15);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
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
    FacadeCopyText(target->OrderID, source.OrderID, 12);
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->ClientID, source.ClientID, 10);
    FacadeCopyText(target->AccountID, source.AccountID, 20);
    target->OrderSubmitStatus = source.OrderSubmitStatus;
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    FacadeCopyText(target->OrderSysID, source.OrderSysID, 20);
    target->OrderStatus = TraderOrderStatusFromWire(source.OrderStatus, source.Qty == source.QtyLeft);
    // Two's complement wrap rather than overflow for absurd quantities.
    target->QtyTraded =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(source.Qty) - static_cast<std::uint32_t>(source.QtyLeft));
    target->QtyLeft = source.QtyLeft;
    FacadeCopyDashlessDate(target->OrderDate, source.OrderDate);
    FacadeCopyText(target->OrderTime, source.OrderTime, 8);
    FacadeCopyText(target->ModifyTime, source.ModifyTime, 8);
    target->FrontID = FacadeFrontOf(source.SessionID);
    target->SessionID = FacadeSessionOf(source.SessionID);
    FacadeCopyText(target->UserProductInfo, source.UserProductInfo, 10);
    if (source.OrderStatusDesc[0] != '\0') {
        FacadeCopyText(target->OrderStatusDesc, source.OrderStatusDesc, 80);
    } else {
        FacadeCopyString(target->OrderStatusDesc, TraderOrderStatusText(target->OrderStatus), 80);
    }
    target->SpareInt1 = 0;
    target->OrderIDNumber = FacadeDecimalValue(source.OrderID, sizeof(source.OrderID));
    FacadeCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    FacadeCopyText(target->MacAddress, source.MacAddress, 20);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
    FacadeCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
    FacadeCopyText(target->IPAddress, source.IPAddress, 32);
}

void TraderFillTrade(const NELOTradeRecord& source, const TraderSessionFields& session, NarvTradeRecord* target) {
    *target = NarvTradeRecord{};
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, source.InvestorID, 12);
    FacadeCopyText(target->OrderRef, source.OrderRef, 12);
    FacadeCopyText(target->FullInvestorID, source.InvestorID, 15);
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->MatchID, source.MatchID, 20);
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    FacadeCopyText(target->OrderSysID, source.OrderSysID, 20);
    FacadeCopyText(target->ClientID, source.ClientID, 10);
    target->OCFlag = kOCFlagFromWire.Map(source.OCFlag);
    target->HedgeFlag = '1';
    target->Price = source.Price;
    target->Qty = source.Qty;
    FacadeCopyDashlessDate(target->MatchDate, source.MatchDate);
    FacadeCopyText(target->MatchTime, source.MatchTime, 8);
    target->MatchType = '0';
    FacadeCopyText(target->AccountID, source.AccountID, 20);
    FacadeCopyText(target->OrderID, source.OrderID, 12);
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    target->OrderIDNumber = FacadeDecimalValue(source.OrderID, sizeof(source.OrderID));
    FacadeCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
    FacadeCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
}

void TraderFillFund(const NELOFundRecord& source, const TraderSessionFields& session, NarvFundRecord* target) {
    *target = NarvFundRecord{};
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, session.investorID, 12);
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
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    target->SpareValue1 = 0.0;
    FacadeCopyText(target->Currency, "CNY", 3);
}

void TraderFillPosi(const NELOPosiRecord& source, const TraderSessionFields& session, NarvPosiRecord* target) {
    *target = NarvPosiRecord{};
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, session.investorID, 12);
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
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    target->OpenCost = source.OpenCost;
    target->MarginCopy = source.Margin;
    target->CloseProfitByDate = source.CloseProfitByDate;
    target->CloseProfitByTrade = source.CloseProfitByTrade;
    target->TodayQty = source.TodayQty;
    target->MarginRateByRatio = source.MarginRateType == 'R' ? source.MarginRate : 0.0;
    target->MarginRateByAmount = source.MarginRateType == 'A' ? source.MarginRate : 0.0;
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->PositionCostOffset = source.PositionCostOffset;
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillPosiDetail(const NELOPosiDetailRecord& source, const TraderSessionFields& session,
                          NarvPosiDetailRecord* target) {
    *target = NarvPosiDetailRecord{};
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, session.investorID, 12);
    target->HedgeFlag = '1';
    target->BSFlag = kBSFlagFromWire.Map(source.BSFlag);
    FacadeCopyDashlessDate(target->CreateTradeDate, source.CreateTradeDate);
    FacadeCopyText(target->MatchID, source.MatchID, 20);
    target->QtyLeft = source.QtyLeft;
    target->CreatePrice = source.CreatePrice;
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    target->TradeType = '0';
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->CloseProfitByDate = source.CloseProfitByDate;
    target->CloseProfitByTrade = source.CloseProfitByTrade;
    target->PositionProfitByDate = source.PositionProfitByDate;
    target->PositionProfitByTrade = source.PositionProfitByTrade;
    target->Margin = source.Margin;
    target->PreSettle = source.PreSettle;
    target->SettlePrice = source.SettlePrice;
    target->CloseVolume = source.CloseVolume;
    target->CloseAmount = source.CloseAmount;
    FacadeCopyText(target->InvestorUnit, source.InvestorUnit, 16);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillInstrument(const NELOInstrumentRecord& source, const TraderSessionFields& /*session*/,
                          NarvInstrumentRecord* target) {
    *target = NarvInstrumentRecord{};
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->InstrumentName, source.InstrumentName, 20);
    target->InstrumentType = kInstrumentTypeFromWire.Map(source.InstrumentType);
    FacadeCopyDashlessDate(target->OpenDate, source.OpenDate);
    FacadeCopyDashlessDate(target->ExpiredDate, source.ExpiredDate);
    std::memcpy(target->LastDeliveryDate, target->ExpiredDate, sizeof(target->ExpiredDate));
    const std::int32_t expiry = FacadeDecimalValue(target->ExpiredDate, 8);
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
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
    FacadeCopyText(target->ExchangeInstrumentID, source.InstrumentID, 80);
    FacadeCopyText(target->GoodsName, source.GoodsName, 80);
    FacadeCopyText(target->UnderlyingInstrID, source.UnderlyingInstrID, 80);
}

void TraderFillFeeRate(const NELOFeeRateRecord& source, const TraderSessionFields& session,
                       NarvInvestorFeeRateRecord* target) {
    *target = NarvInvestorFeeRateRecord{};
    target->InvestorScope = '1';
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, source.InvestorID, 12);
    const RatePair open = SplitRate(source.FeeType, source.FeeRate);
    const RatePair close = SplitRate(source.FeeType, source.CloseFeeRate);
    const RatePair closeToday = SplitRate(source.FeeType, source.CloseTodayFeeRate);
    target->OpenFeeByRatio = open.byRatio;
    target->OpenFeeByQty = open.byQty;
    target->CloseFeeByRatio = close.byRatio;
    target->CloseFeeByQty = close.byQty;
    target->CloseTodayFeeByRatio = closeToday.byRatio;
    target->CloseTodayFeeByQty = closeToday.byQty;
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillInvestorMarginRate(const NELOMarginRateRecord& source, const TraderSessionFields& session,
                                  NarvInvestorMarginRateRecord* target) {
    *target = NarvInvestorMarginRateRecord{};
    target->InvestorScope = '1';
    FacadeCopyText(target->FirmID, session.firmID, 10);
    FacadeCopyText(target->InvestorID, source.InvestorID, 12);
    target->HedgeFlag = '1';
    const RatePair longRate = SplitRate(source.MarginRateType, source.LongMarginRate);
    const RatePair shortRate = SplitRate(source.MarginRateType, source.ShortMarginRate);
    target->LongMarginByRatio = longRate.byRatio;
    target->LongMarginByQty = longRate.byQty;
    target->ShortMarginByRatio = shortRate.byRatio;
    target->ShortMarginByQty = shortRate.byQty;
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
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
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}

void TraderFillProduct(const NELOProductRecord& source, const TraderSessionFields& /*session*/,
                       NarvProductRecord* target) {
    *target = NarvProductRecord{};
    FacadeCopyText(target->ProductName, source.ProductName, 20);
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    target->InstrumentType = kProductTypeFromWire.Map(source.InstrumentType);
    FacadeCopyText(target->ProductID, source.ProductID, 80);
    FacadeCopyText(target->ExchangeProductID, source.ProductID, 80);
}

void TraderFillExchange(const NELOExchangeRecord& source, const TraderSessionFields& /*session*/,
                        NarvExchangeRecord* target) {
    *target = NarvExchangeRecord{};
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
    FacadeCopyText(target->ExchangeName, source.ExchangeName, 60);
    target->ExchangeProperty = '0';
}

void TraderFillQuot(const NELOQuotRecord& source, const TraderSessionFields& session, NarvQuotRecord* target) {
    *target = NarvQuotRecord{};
    FacadeCopyText(target->TradingDay, session.tradingDay, 8);
    FacadeCopyText(target->ExchangeID, source.ExchangeID, 8);
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
    FacadeCopyText(target->ModifyTime, source.ModifyTime, 8);
    target->BidPrice = source.BidPrice;
    target->BidQty = source.BidQty;
    target->AskPrice = source.AskPrice;
    target->AskQty = source.AskQty;
    FacadeCopyDashlessDate(target->ModifyDate, source.ModifyDate);
    FacadeCopyText(target->InstrumentID, source.InstrumentID, 80);
}
