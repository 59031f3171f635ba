// Both interfaces of the trade client keep their positions: the facade and the client are built
// separately and meet only through these tables of operations, so an operation moved, added or removed
// would send a call to the wrong operation without any compiler noticing.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "NELOTradeApi.h"

namespace {

constexpr std::ptrdiff_t kNotVirtual = -1;

// Position in the table of operations named by a pointer to a virtual member function (two words in
// the Itanium C++ ABI: for a virtual function, 1 + the byte offset of its entry), or kNotVirtual.
template <typename MemberFunction>
std::ptrdiff_t VirtualSlotOf(MemberFunction function) {
    struct Representation {
        std::uintptr_t pointerOrOffset;
        std::ptrdiff_t thisAdjustment;
    };
    static_assert(sizeof(MemberFunction) == sizeof(Representation), "an Itanium member-function pointer");
    Representation representation;
    std::memcpy(&representation, &function, sizeof representation);
#if defined(__arm__) || defined(__aarch64__)
    if ((representation.thisAdjustment & 1) == 0) return kNotVirtual;
    return static_cast<std::ptrdiff_t>(representation.pointerOrOffset / sizeof(void*));
#else
    if ((representation.pointerOrOffset & 1u) == 0) return kNotVirtual;
    return static_cast<std::ptrdiff_t>((representation.pointerOrOffset - 1) / sizeof(void*));
#endif
}

struct SlotCase {
    const char* name;
    std::ptrdiff_t expected;
    std::ptrdiff_t actual;
};

#define TRADE_SLOT(Class, Name, Position) \
    SlotCase { #Name, Position, VirtualSlotOf(&Class::Name) }

// clang-format off
const SlotCase kTradeApiSlots[] = {
    TRADE_SLOT(CNELOTradeApi, Release, 0),
    TRADE_SLOT(CNELOTradeApi, RegisterSpi, 1),
    TRADE_SLOT(CNELOTradeApi, Init, 2),
    TRADE_SLOT(CNELOTradeApi, Stop, 3),
    TRADE_SLOT(CNELOTradeApi, RegisterFront, 4),
    TRADE_SLOT(CNELOTradeApi, GetErrorMsg, 5),
    TRADE_SLOT(CNELOTradeApi, ReqLogin, 6),
    TRADE_SLOT(CNELOTradeApi, ReqLogout, 7),
    TRADE_SLOT(CNELOTradeApi, ReqFlowSubscribe, 8),
    TRADE_SLOT(CNELOTradeApi, ReqChangePassword, 9),
    TRADE_SLOT(CNELOTradeApi, ReqInputOrder, 10),
    TRADE_SLOT(CNELOTradeApi, ReqOrderCancel, 11),
    TRADE_SLOT(CNELOTradeApi, ReqQuotQuery, 12),
    TRADE_SLOT(CNELOTradeApi, ReqOrderQuery, 13),
    TRADE_SLOT(CNELOTradeApi, ReqTradeQuery, 14),
    TRADE_SLOT(CNELOTradeApi, ReqPosiQuery, 15),
    TRADE_SLOT(CNELOTradeApi, ReqFundQuery, 16),
    TRADE_SLOT(CNELOTradeApi, ReqInstrumentQuery, 17),
    TRADE_SLOT(CNELOTradeApi, ReqPosiDetailQuery, 18),
    TRADE_SLOT(CNELOTradeApi, ReqProfitLossStopSet, 19),
    TRADE_SLOT(CNELOTradeApi, ReqInputOrderEx, 20),
    TRADE_SLOT(CNELOTradeApi, ReqBulletinQuery, 21),
    TRADE_SLOT(CNELOTradeApi, ReqNoticeQuery, 22),
    TRADE_SLOT(CNELOTradeApi, ReqElectronicFundIO, 23),
    TRADE_SLOT(CNELOTradeApi, ReqFundIODetailQuery, 24),
    TRADE_SLOT(CNELOTradeApi, ReqReportQuery, 25),
    TRADE_SLOT(CNELOTradeApi, ReqHisOrderQuery, 26),
    TRADE_SLOT(CNELOTradeApi, ReqHisTradeQuery, 27),
    TRADE_SLOT(CNELOTradeApi, ReqHisBulletinQuery, 28),
    TRADE_SLOT(CNELOTradeApi, ReqHisNoticeQuery, 29),
    TRADE_SLOT(CNELOTradeApi, ReqAccountBind, 30),
    TRADE_SLOT(CNELOTradeApi, ReqAccountBindQuery, 31),
    TRADE_SLOT(CNELOTradeApi, ReqHisFundQuery, 32),
    TRADE_SLOT(CNELOTradeApi, ReqHisPosiDetailQuery, 33),
    TRADE_SLOT(CNELOTradeApi, ReqProductQuery, 34),
    TRADE_SLOT(CNELOTradeApi, ReqExchangeQuery, 35),
    TRADE_SLOT(CNELOTradeApi, ReqInvestorFeeRateQuery, 36),
    TRADE_SLOT(CNELOTradeApi, ReqInvestorMarginRateQuery, 37),
    TRADE_SLOT(CNELOTradeApi, ReqExchangeMarginRateQuery, 38),
};

const SlotCase kTradeSpiSlots[] = {
    TRADE_SLOT(CNELOTradeSpi, OnFrontConnected, 0),
    TRADE_SLOT(CNELOTradeSpi, OnFrontDisconnected, 1),
    TRADE_SLOT(CNELOTradeSpi, OnLoginRsp, 2),
    TRADE_SLOT(CNELOTradeSpi, OnLogoutRsp, 3),
    TRADE_SLOT(CNELOTradeSpi, OnChangePasswordRsp, 4),
    TRADE_SLOT(CNELOTradeSpi, OnInputOrderRsp, 5),
    TRADE_SLOT(CNELOTradeSpi, OnOrderNty, 6),
    TRADE_SLOT(CNELOTradeSpi, OnOrderCancelRsp, 7),
    TRADE_SLOT(CNELOTradeSpi, OnMarketStatusNty, 8),
    TRADE_SLOT(CNELOTradeSpi, OnTradeNty, 9),
    TRADE_SLOT(CNELOTradeSpi, OnQuotQueryRsp, 10),
    TRADE_SLOT(CNELOTradeSpi, OnOrderQueryRsp, 11),
    TRADE_SLOT(CNELOTradeSpi, OnTradeQueryRsp, 12),
    TRADE_SLOT(CNELOTradeSpi, OnPosiQueryRsp, 13),
    TRADE_SLOT(CNELOTradeSpi, OnFundQueryRsp, 14),
    TRADE_SLOT(CNELOTradeSpi, OnInstrumentQueryRsp, 15),
    TRADE_SLOT(CNELOTradeSpi, OnPosiDetailQueryRsp, 16),
    TRADE_SLOT(CNELOTradeSpi, OnProfitLossStopSetRsp, 17),
    TRADE_SLOT(CNELOTradeSpi, OnPosiDetailNty, 18),
    TRADE_SLOT(CNELOTradeSpi, OnFundNty, 19),
    TRADE_SLOT(CNELOTradeSpi, OnPosiNty, 20),
    TRADE_SLOT(CNELOTradeSpi, OnInputOrderExRsp, 21),
    TRADE_SLOT(CNELOTradeSpi, OnBulletinQueryRsp, 22),
    TRADE_SLOT(CNELOTradeSpi, OnNoticeQueryRsp, 23),
    TRADE_SLOT(CNELOTradeSpi, OnBulletinNty, 24),
    TRADE_SLOT(CNELOTradeSpi, OnNoticeNty, 25),
    TRADE_SLOT(CNELOTradeSpi, OnElectronicFundIORsp, 26),
    TRADE_SLOT(CNELOTradeSpi, OnElectronicFundIONty, 27),
    TRADE_SLOT(CNELOTradeSpi, OnFundIODetailQueryRsp, 28),
    TRADE_SLOT(CNELOTradeSpi, OnReportQueryRsp, 29),
    TRADE_SLOT(CNELOTradeSpi, OnHisOrderQueryRsp, 30),
    TRADE_SLOT(CNELOTradeSpi, OnHisTradeQueryRsp, 31),
    TRADE_SLOT(CNELOTradeSpi, OnHisBulletinQueryRsp, 32),
    TRADE_SLOT(CNELOTradeSpi, OnHisNoticeQueryRsp, 33),
    TRADE_SLOT(CNELOTradeSpi, OnAccountBindRsp, 34),
    TRADE_SLOT(CNELOTradeSpi, OnAccountBindQueryRsp, 35),
    TRADE_SLOT(CNELOTradeSpi, OnHisFundQueryRsp, 36),
    TRADE_SLOT(CNELOTradeSpi, OnHisPosiDetailQueryRsp, 37),
    TRADE_SLOT(CNELOTradeSpi, OnAccountBindNty, 38),
    TRADE_SLOT(CNELOTradeSpi, OnProductQueryRsp, 39),
    TRADE_SLOT(CNELOTradeSpi, OnExchangeQueryRsp, 40),
    TRADE_SLOT(CNELOTradeSpi, OnInvestorFeeRateQueryRsp, 41),
    TRADE_SLOT(CNELOTradeSpi, OnInvestorMarginRateQueryRsp, 42),
    TRADE_SLOT(CNELOTradeSpi, OnExchangeMarginRateQueryRsp, 43),
};
// clang-format on

// An operation declared after an interface's own lands right behind its last position.
struct TradeApiPastTheEnd : CNELOTradeApi {
    virtual void PastTheEnd() {}
};
struct TradeSpiPastTheEnd : CNELOTradeSpi {
    virtual void PastTheEnd() {}
};

template <std::size_t N>
void ExpectSlots(const SlotCase (&table)[N]) {
    for (const SlotCase& slot : table) {
        ASSERT_NE(slot.actual, kNotVirtual) << slot.name << " must be virtual";
        EXPECT_EQ(slot.actual, slot.expected) << slot.name;
    }
}

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
