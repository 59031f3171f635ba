// Both interfaces of the trade client keep their positions: the facade and the client are built
// separately and meet only through these tables of operations, so an operation moved, added or removed
// would send a call to the wrong operation without any compiler noticing.
#include <gtest/gtest.h>

#include <type_traits>

#include "NELOTradeApi.h"
#include "support/VirtualSlots.h"

namespace {

// clang-format off
const SlotCase kTradeApiSlots[] = {
    NARV_SLOT(CNELOTradeApi, Release, 0),
    NARV_SLOT(CNELOTradeApi, RegisterSpi, 1),
    NARV_SLOT(CNELOTradeApi, Init, 2),
    NARV_SLOT(CNELOTradeApi, Stop, 3),
    NARV_SLOT(CNELOTradeApi, RegisterFront, 4),
    NARV_SLOT(CNELOTradeApi, GetErrorMsg, 5),
    NARV_SLOT(CNELOTradeApi, ReqLogin, 6),
    NARV_SLOT(CNELOTradeApi, ReqLogout, 7),
    NARV_SLOT(CNELOTradeApi, ReqFlowSubscribe, 8),
    NARV_SLOT(CNELOTradeApi, ReqChangePassword, 9),
    NARV_SLOT(CNELOTradeApi, ReqInputOrder, 10),
    NARV_SLOT(CNELOTradeApi, ReqOrderCancel, 11),
    NARV_SLOT(CNELOTradeApi, ReqQuotQuery, 12),
    NARV_SLOT(CNELOTradeApi, ReqOrderQuery, 13),
    NARV_SLOT(CNELOTradeApi, ReqTradeQuery, 14),
    NARV_SLOT(CNELOTradeApi, ReqPosiQuery, 15),
    NARV_SLOT(CNELOTradeApi, ReqFundQuery, 16),
    NARV_SLOT(CNELOTradeApi, ReqInstrumentQuery, 17),
    NARV_SLOT(CNELOTradeApi, ReqPosiDetailQuery, 18),
    NARV_SLOT(CNELOTradeApi, ReqProfitLossStopSet, 19),
    NARV_SLOT(CNELOTradeApi, ReqInputOrderEx, 20),
    NARV_SLOT(CNELOTradeApi, ReqBulletinQuery, 21),
    NARV_SLOT(CNELOTradeApi, ReqNoticeQuery, 22),
    NARV_SLOT(CNELOTradeApi, ReqElectronicFundIO, 23),
    NARV_SLOT(CNELOTradeApi, ReqFundIODetailQuery, 24),
    NARV_SLOT(CNELOTradeApi, ReqReportQuery, 25),
    NARV_SLOT(CNELOTradeApi, ReqHisOrderQuery, 26),
    NARV_SLOT(CNELOTradeApi, ReqHisTradeQuery, 27),
    NARV_SLOT(CNELOTradeApi, ReqHisBulletinQuery, 28),
    NARV_SLOT(CNELOTradeApi, ReqHisNoticeQuery, 29),
    NARV_SLOT(CNELOTradeApi, ReqAccountBind, 30),
    NARV_SLOT(CNELOTradeApi, ReqAccountBindQuery, 31),
    NARV_SLOT(CNELOTradeApi, ReqHisFundQuery, 32),
    NARV_SLOT(CNELOTradeApi, ReqHisPosiDetailQuery, 33),
    NARV_SLOT(CNELOTradeApi, ReqProductQuery, 34),
    NARV_SLOT(CNELOTradeApi, ReqExchangeQuery, 35),
    NARV_SLOT(CNELOTradeApi, ReqInvestorFeeRateQuery, 36),
    NARV_SLOT(CNELOTradeApi, ReqInvestorMarginRateQuery, 37),
    NARV_SLOT(CNELOTradeApi, ReqExchangeMarginRateQuery, 38),
};

const SlotCase kTradeSpiSlots[] = {
    NARV_SLOT(CNELOTradeSpi, OnFrontConnected, 0),
    NARV_SLOT(CNELOTradeSpi, OnFrontDisconnected, 1),
    NARV_SLOT(CNELOTradeSpi, OnLoginRsp, 2),
    NARV_SLOT(CNELOTradeSpi, OnLogoutRsp, 3),
    NARV_SLOT(CNELOTradeSpi, OnChangePasswordRsp, 4),
    NARV_SLOT(CNELOTradeSpi, OnInputOrderRsp, 5),
    NARV_SLOT(CNELOTradeSpi, OnOrderNty, 6),
    NARV_SLOT(CNELOTradeSpi, OnOrderCancelRsp, 7),
    NARV_SLOT(CNELOTradeSpi, OnMarketStatusNty, 8),
    NARV_SLOT(CNELOTradeSpi, OnTradeNty, 9),
    NARV_SLOT(CNELOTradeSpi, OnQuotQueryRsp, 10),
    NARV_SLOT(CNELOTradeSpi, OnOrderQueryRsp, 11),
    NARV_SLOT(CNELOTradeSpi, OnTradeQueryRsp, 12),
    NARV_SLOT(CNELOTradeSpi, OnPosiQueryRsp, 13),
    NARV_SLOT(CNELOTradeSpi, OnFundQueryRsp, 14),
    NARV_SLOT(CNELOTradeSpi, OnInstrumentQueryRsp, 15),
    NARV_SLOT(CNELOTradeSpi, OnPosiDetailQueryRsp, 16),
    NARV_SLOT(CNELOTradeSpi, OnProfitLossStopSetRsp, 17),
    NARV_SLOT(CNELOTradeSpi, OnPosiDetailNty, 18),
    NARV_SLOT(CNELOTradeSpi, OnFundNty, 19),
    NARV_SLOT(CNELOTradeSpi, OnPosiNty, 20),
    NARV_SLOT(CNELOTradeSpi, OnInputOrderExRsp, 21),
    NARV_SLOT(CNELOTradeSpi, OnBulletinQueryRsp, 22),
    NARV_SLOT(CNELOTradeSpi, OnNoticeQueryRsp, 23),
    NARV_SLOT(CNELOTradeSpi, OnBulletinNty, 24),
    NARV_SLOT(CNELOTradeSpi, OnNoticeNty, 25),
    NARV_SLOT(CNELOTradeSpi, OnElectronicFundIORsp, 26),
    NARV_SLOT(CNELOTradeSpi, OnElectronicFundIONty, 27),
    NARV_SLOT(CNELOTradeSpi, OnFundIODetailQueryRsp, 28),
    NARV_SLOT(CNELOTradeSpi, OnReportQueryRsp, 29),
    NARV_SLOT(CNELOTradeSpi, OnHisOrderQueryRsp, 30),
    NARV_SLOT(CNELOTradeSpi, OnHisTradeQueryRsp, 31),
    NARV_SLOT(CNELOTradeSpi, OnHisBulletinQueryRsp, 32),
    NARV_SLOT(CNELOTradeSpi, OnHisNoticeQueryRsp, 33),
    NARV_SLOT(CNELOTradeSpi, OnAccountBindRsp, 34),
    NARV_SLOT(CNELOTradeSpi, OnAccountBindQueryRsp, 35),
    NARV_SLOT(CNELOTradeSpi, OnHisFundQueryRsp, 36),
    NARV_SLOT(CNELOTradeSpi, OnHisPosiDetailQueryRsp, 37),
    NARV_SLOT(CNELOTradeSpi, OnAccountBindNty, 38),
    NARV_SLOT(CNELOTradeSpi, OnProductQueryRsp, 39),
    NARV_SLOT(CNELOTradeSpi, OnExchangeQueryRsp, 40),
    NARV_SLOT(CNELOTradeSpi, OnInvestorFeeRateQueryRsp, 41),
    NARV_SLOT(CNELOTradeSpi, OnInvestorMarginRateQueryRsp, 42),
    NARV_SLOT(CNELOTradeSpi, OnExchangeMarginRateQueryRsp, 43),
};
// clang-format on

// An operation declared after an interface's own lands right behind its last position.
struct TradeApiPastTheEnd : CNELOTradeApi {
    virtual void PastTheEnd() {}
};
struct TradeSpiPastTheEnd : CNELOTradeSpi {
    virtual void PastTheEnd() {}
};

TEST(TradeInterfaceSlots, RequestInterfaceKeepsItsOrderWithTheDestructorLast) {
    ExpectSlots(kTradeApiSlots);
    // Position 39 is the destructor, which this ABI gives two entries (complete and deleting).
    EXPECT_EQ(VirtualSlotOf(&TradeApiPastTheEnd::PastTheEnd), 39 + 2);
}

TEST(TradeInterfaceSlots, CallbackInterfaceKeepsItsOrderAndHasNoOtherPositions) {
    ExpectSlots(kTradeSpiSlots);
    EXPECT_EQ(VirtualSlotOf(&TradeSpiPastTheEnd::PastTheEnd), 44);
}

// The base gives every callback an empty body, so a callback object overrides only what it needs.
TEST(TradeInterfaceSlots, CallbackInterfaceHasNoPureOperations) {
    struct NothingOverridden : CNELOTradeSpi {};
    EXPECT_FALSE(std::is_abstract<NothingOverridden>::value);
}

}  // namespace
