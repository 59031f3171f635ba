// Checks of the exported headers: an application can include both, every
// virtual operation sits at its position, the classes can only be destroyed
// through Release, and every record is a plain block of bytes.
//
// The positions are read from pointers to virtual member functions, which on
// the Itanium C++ ABI carry the operation's byte offset into the virtual
// table; the tables below list each interface position by position.

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

#include <gtest/gtest.h>

#include "support/VirtualSlots.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

const SlotCase kTraderApiSlots[] = {
    NARV_SLOT(CNarvSqelTraderApi, Release, 0),
    NARV_SLOT(CNarvSqelTraderApi, Init, 1),
    NARV_SLOT(CNarvSqelTraderApi, Join, 2),
    NARV_SLOT(CNarvSqelTraderApi, GetTradingDay, 3),
    NARV_SLOT(CNarvSqelTraderApi, RegisterFront, 4),
    NARV_SLOT(CNarvSqelTraderApi, RegisterExt5, 5),
    NARV_SLOT(CNarvSqelTraderApi, RegisterExt6, 6),
    NARV_SLOT(CNarvSqelTraderApi, RegisterSpi, 7),
    NARV_SLOT(CNarvSqelTraderApi, SetAccountFlowResume, 8),
    NARV_SLOT(CNarvSqelTraderApi, SetMarketFlowResume, 9),
    NARV_SLOT(CNarvSqelTraderApi, ReqAuthenticate, 10),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt11, 11),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt12, 12),
    NARV_SLOT(CNarvSqelTraderApi, ReqLogin, 13),
    NARV_SLOT(CNarvSqelTraderApi, ReqLogout, 14),
    NARV_SLOT(CNarvSqelTraderApi, ReqChangePassword, 15),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt16, 16),
    NARV_SLOT(CNarvSqelTraderApi, ReqAcknowledge, 17),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt18, 18),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt19, 19),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt20, 20),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt21, 21),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt22, 22),
    NARV_SLOT(CNarvSqelTraderApi, ReqInputOrder, 23),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt24, 24),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt25, 25),
    NARV_SLOT(CNarvSqelTraderApi, ReqOrderCancel, 26),
    NARV_SLOT(CNarvSqelTraderApi, ReqMaxOrderQtyQuery, 27),
    NARV_SLOT(CNarvSqelTraderApi, ReqSettlementConfirm, 28),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt29, 29),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt30, 30),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt31, 31),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt32, 32),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt33, 33),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt34, 34),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt35, 35),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt36, 36),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt37, 37),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt38, 38),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt39, 39),
    NARV_SLOT(CNarvSqelTraderApi, ReqOrderQuery, 40),
    NARV_SLOT(CNarvSqelTraderApi, ReqTradeQuery, 41),
    NARV_SLOT(CNarvSqelTraderApi, ReqPosiQuery, 42),
    NARV_SLOT(CNarvSqelTraderApi, ReqFundQuery, 43),
    NARV_SLOT(CNarvSqelTraderApi, ReqInvestorQuery, 44),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt45, 45),
    NARV_SLOT(CNarvSqelTraderApi, ReqInvestorMarginRateQuery, 46),
    NARV_SLOT(CNarvSqelTraderApi, ReqInvestorFeeRateQuery, 47),
    NARV_SLOT(CNarvSqelTraderApi, ReqExchangeQuery, 48),
    NARV_SLOT(CNarvSqelTraderApi, ReqProductQuery, 49),
    NARV_SLOT(CNarvSqelTraderApi, ReqInstrumentQuery, 50),
    NARV_SLOT(CNarvSqelTraderApi, ReqQuotQuery, 51),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt52, 52),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt53, 53),
    NARV_SLOT(CNarvSqelTraderApi, ReqPosiDetailQuery, 54),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt55, 55),
    NARV_SLOT(CNarvSqelTraderApi, ReqSettlementConfirmQuery, 56),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt57, 57),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt58, 58),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt59, 59),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt60, 60),
    NARV_SLOT(CNarvSqelTraderApi, ReqExchangeMarginRateQuery, 61),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt62, 62),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt63, 63),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt64, 64),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt65, 65),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt66, 66),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt67, 67),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt68, 68),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt69, 69),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt70, 70),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt71, 71),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt72, 72),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt73, 73),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt74, 74),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt75, 75),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt76, 76),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt77, 77),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt78, 78),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt79, 79),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt80, 80),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt81, 81),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt82, 82),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt83, 83),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt84, 84),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt85, 85),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt86, 86),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt87, 87),
    NARV_SLOT(CNarvSqelTraderApi, ReqCurrencyQuery, 88),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt89, 89),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt90, 90),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt91, 91),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt92, 92),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt93, 93),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt94, 94),
    NARV_SLOT(CNarvSqelTraderApi, ReqExt95, 95),
};

const SlotCase kTraderSpiSlots[] = {
    NARV_SLOT(CNarvSqelTraderSpi, OnConnected, 0),
    NARV_SLOT(CNarvSqelTraderSpi, OnDisconnected, 1),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare2, 2),
    NARV_SLOT(CNarvSqelTraderSpi, OnAuthenticateRsp, 3),
    NARV_SLOT(CNarvSqelTraderSpi, OnLoginRsp, 4),
    NARV_SLOT(CNarvSqelTraderSpi, OnLogoutRsp, 5),
    NARV_SLOT(CNarvSqelTraderSpi, OnChangePasswordRsp, 6),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare7, 7),
    NARV_SLOT(CNarvSqelTraderSpi, OnAcknowledgeRsp, 8),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare9, 9),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare10, 10),
    NARV_SLOT(CNarvSqelTraderSpi, OnInputOrderRsp, 11),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare12, 12),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare13, 13),
    NARV_SLOT(CNarvSqelTraderSpi, OnOrderCancelRsp, 14),
    NARV_SLOT(CNarvSqelTraderSpi, OnMaxOrderQtyQueryRsp, 15),
    NARV_SLOT(CNarvSqelTraderSpi, OnSettlementConfirmRsp, 16),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare17, 17),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare18, 18),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt31Rsp, 19),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt32Rsp, 20),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt33Rsp, 21),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt34Rsp, 22),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt35Rsp, 23),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare24, 24),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt37Rsp, 25),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt38Rsp, 26),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare27, 27),
    NARV_SLOT(CNarvSqelTraderSpi, OnOrderQueryRsp, 28),
    NARV_SLOT(CNarvSqelTraderSpi, OnTradeQueryRsp, 29),
    NARV_SLOT(CNarvSqelTraderSpi, OnPosiQueryRsp, 30),
    NARV_SLOT(CNarvSqelTraderSpi, OnFundQueryRsp, 31),
    NARV_SLOT(CNarvSqelTraderSpi, OnInvestorQueryRsp, 32),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt45Rsp, 33),
    NARV_SLOT(CNarvSqelTraderSpi, OnInvestorMarginRateQueryRsp, 34),
    NARV_SLOT(CNarvSqelTraderSpi, OnInvestorFeeRateQueryRsp, 35),
    NARV_SLOT(CNarvSqelTraderSpi, OnExchangeQueryRsp, 36),
    NARV_SLOT(CNarvSqelTraderSpi, OnProductQueryRsp, 37),
    NARV_SLOT(CNarvSqelTraderSpi, OnInstrumentQueryRsp, 38),
    NARV_SLOT(CNarvSqelTraderSpi, OnQuotQueryRsp, 39),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt52Rsp, 40),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt53Rsp, 41),
    NARV_SLOT(CNarvSqelTraderSpi, OnPosiDetailQueryRsp, 42),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt55Rsp, 43),
    NARV_SLOT(CNarvSqelTraderSpi, OnSettlementConfirmQueryRsp, 44),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt57Rsp, 45),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt58Rsp, 46),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare47, 47),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare48, 48),
    NARV_SLOT(CNarvSqelTraderSpi, OnExchangeMarginRateQueryRsp, 49),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare50, 50),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare51, 51),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare52, 52),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare53, 53),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt66Rsp, 54),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare55, 55),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare56, 56),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt69Rsp, 57),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare58, 58),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare59, 59),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt72Rsp, 60),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt73Rsp, 61),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt74Rsp, 62),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt75Rsp, 63),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt76Rsp, 64),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt77Rsp, 65),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt78Rsp, 66),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt79Rsp, 67),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt80Rsp, 68),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt81Rsp, 69),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt82Rsp, 70),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt83Rsp, 71),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare72, 72),
    NARV_SLOT(CNarvSqelTraderSpi, OnOrderNty, 73),
    NARV_SLOT(CNarvSqelTraderSpi, OnTradeNty, 74),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare75, 75),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare76, 76),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare77, 77),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare78, 78),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare79, 79),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare80, 80),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare81, 81),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare82, 82),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare83, 83),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare84, 84),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare85, 85),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare86, 86),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare87, 87),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare88, 88),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare89, 89),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare90, 90),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare91, 91),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare92, 92),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare93, 93),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare94, 94),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare95, 95),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt84Rsp, 96),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt85Rsp, 97),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt86Rsp, 98),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt87Rsp, 99),
    NARV_SLOT(CNarvSqelTraderSpi, OnCurrencyQueryRsp, 100),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt89Rsp, 101),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt90Rsp, 102),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare103, 103),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare104, 104),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare105, 105),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare106, 106),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare107, 107),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare108, 108),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare109, 109),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare110, 110),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare111, 111),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare112, 112),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare113, 113),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare114, 114),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare115, 115),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare116, 116),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare117, 117),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare118, 118),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare119, 119),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare120, 120),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt93Rsp, 121),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare122, 122),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare123, 123),
    NARV_SLOT(CNarvSqelTraderSpi, OnSpare124, 124),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt94Rsp, 125),
    NARV_SLOT(CNarvSqelTraderSpi, OnExt95Rsp, 126),
};

const SlotCase kMdApiSlots[] = {
    NARV_SLOT(CNarvSqelMdApi, Release, 0),
    NARV_SLOT(CNarvSqelMdApi, Init, 1),
    NARV_SLOT(CNarvSqelMdApi, Join, 2),
    NARV_SLOT(CNarvSqelMdApi, GetTradingDay, 3),
    NARV_SLOT(CNarvSqelMdApi, RegisterFront, 4),
    NARV_SLOT(CNarvSqelMdApi, RegisterExt5, 5),
    NARV_SLOT(CNarvSqelMdApi, RegisterExt6, 6),
    NARV_SLOT(CNarvSqelMdApi, RegisterSpi, 7),
    NARV_SLOT(CNarvSqelMdApi, ReqQuotSubscribe, 8),
    NARV_SLOT(CNarvSqelMdApi, ReqQuotUnSubscribe, 9),
    NARV_SLOT(CNarvSqelMdApi, ReqExt10, 10),
    NARV_SLOT(CNarvSqelMdApi, ReqExt11, 11),
    NARV_SLOT(CNarvSqelMdApi, ReqLogin, 12),
    NARV_SLOT(CNarvSqelMdApi, ReqLogout, 13),
    NARV_SLOT(CNarvSqelMdApi, ReqExt14, 14),
};

const SlotCase kMdSpiSlots[] = {
    NARV_SLOT(CNarvSqelMdSpi, OnConnected, 0),
    NARV_SLOT(CNarvSqelMdSpi, OnDisconnected, 1),
    NARV_SLOT(CNarvSqelMdSpi, OnSpare2, 2),
    NARV_SLOT(CNarvSqelMdSpi, OnLoginRsp, 3),
    NARV_SLOT(CNarvSqelMdSpi, OnLogoutRsp, 4),
    NARV_SLOT(CNarvSqelMdSpi, OnSpare5, 5),
    NARV_SLOT(CNarvSqelMdSpi, OnSpare6, 6),
    NARV_SLOT(CNarvSqelMdSpi, OnQuotSubscribeRsp, 7),
    NARV_SLOT(CNarvSqelMdSpi, OnQuotUnSubscribeRsp, 8),
    NARV_SLOT(CNarvSqelMdSpi, OnSpare9, 9),
    NARV_SLOT(CNarvSqelMdSpi, OnSpare10, 10),
    NARV_SLOT(CNarvSqelMdSpi, OnDepthQuoteNty, 11),
};

#undef NARV_SLOT

// A virtual operation declared after the interface's own lands right after
// its last position, which tells how many positions the interface has.
struct TraderApiPastTheEnd : CNarvSqelTraderApi {
    virtual void PastTheEnd() {}
};
struct TraderSpiPastTheEnd : CNarvSqelTraderSpi {
    virtual void PastTheEnd() {}
};
struct MdApiPastTheEnd : CNarvSqelMdApi {
    virtual void PastTheEnd() {}
};
struct MdSpiPastTheEnd : CNarvSqelMdSpi {
    virtual void PastTheEnd() {}
};

// Every position is listed, each at its place, and the interface has no others.
template <std::size_t N>
void ExpectAllSlots(const SlotCase (&table)[N], std::ptrdiff_t positionCount, std::ptrdiff_t pastTheEnd) {
    ASSERT_EQ(static_cast<std::ptrdiff_t>(N), positionCount) << "the table must list every position";
    ExpectSlots(table);
    EXPECT_EQ(pastTheEnd, positionCount) << "the interface must have exactly " << positionCount << " positions";
}

TEST(ExportedSlots, TraderApiHas96PositionsInOrder) {
    ExpectAllSlots(kTraderApiSlots, 96, VirtualSlotOf(&TraderApiPastTheEnd::PastTheEnd));
}

TEST(ExportedSlots, TraderSpiHas127PositionsInOrder) {
    ExpectAllSlots(kTraderSpiSlots, 127, VirtualSlotOf(&TraderSpiPastTheEnd::PastTheEnd));
}

TEST(ExportedSlots, MdApiHas15PositionsInOrder) {
    ExpectAllSlots(kMdApiSlots, 15, VirtualSlotOf(&MdApiPastTheEnd::PastTheEnd));
}

TEST(ExportedSlots, MdSpiHas12PositionsInOrder) {
    ExpectAllSlots(kMdSpiSlots, 12, VirtualSlotOf(&MdSpiPastTheEnd::PastTheEnd));
}

// The library drives the application's callback object the same way: it
// takes the function at a position of the object's virtual table and calls it.
template <typename Function, typename Object>
Function FunctionAtSlot(Object* object, std::size_t slot) {
    const void* const* table;
    // Reads the object's table pointer, as a caller knowing only the layout does.
    std::memcpy(&table, object, sizeof table);  // NOLINT(bugprone-undefined-memory-manipulation)
    Function function;
    std::memcpy(&function, &table[slot], sizeof function);
    return function;
}

struct RecordingTraderSpi : CNarvSqelTraderSpi {
    const NarvLoginRspRecord* loginRsp = nullptr;
    const NarvRspInfoRecord* loginRspInfo = nullptr;
    int loginRequestId = 0;
    bool loginIsLast = false;
    const NarvOrderRecord* order = nullptr;
    const NarvTradeRecord* trade = nullptr;

    void OnLoginRsp(const NarvLoginRspRecord* record, const NarvRspInfoRecord* rspInfo, int requestId,
                    bool isLast) override {
        loginRsp = record;
        loginRspInfo = rspInfo;
        loginRequestId = requestId;
        loginIsLast = isLast;
    }
    void OnOrderNty(const NarvOrderRecord* record) override { order = record; }
    void OnTradeNty(const NarvTradeRecord* record) override { trade = record; }
};

struct RecordingMdSpi : CNarvSqelMdSpi {
    const NarvDepthQuoteRecord* depthQuote = nullptr;
    const NarvQuotInstrumentRecord* subscribed = nullptr;

    void OnDepthQuoteNty(const NarvDepthQuoteRecord* record) override { depthQuote = record; }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* record, const NarvRspInfoRecord*, int, bool) override {
        subscribed = record;
    }
};

using ReplyCall = void (*)(void*, const void*, const NarvRspInfoRecord*, int, bool);
using PushCall = void (*)(void*, const void*);

TEST(ExportedDispatch, TraderCallbacksAreReachedThroughTheirPositions) {
    RecordingTraderSpi spi;
    NarvLoginRspRecord loginRsp{};
    NarvRspInfoRecord rspInfo{};
    NarvOrderRecord order{};
    NarvTradeRecord trade{};

    FunctionAtSlot<ReplyCall>(&spi, 4)(&spi, &loginRsp, &rspInfo, 42, true);
    FunctionAtSlot<PushCall>(&spi, 73)(&spi, &order);
    FunctionAtSlot<PushCall>(&spi, 74)(&spi, &trade);

    EXPECT_EQ(spi.loginRsp, &loginRsp);
    EXPECT_EQ(spi.loginRspInfo, &rspInfo);
    EXPECT_EQ(spi.loginRequestId, 42);
    EXPECT_TRUE(spi.loginIsLast);
    EXPECT_EQ(spi.order, &order);
    EXPECT_EQ(spi.trade, &trade);
}

TEST(ExportedDispatch, UnoverriddenTraderCallbacksDoNothing) {
    RecordingTraderSpi spi;
    // Positions the library answers locally and positions it never calls.
    for (std::size_t slot : {3u, 8u, 19u, 25u, 100u, 121u, 126u})
        FunctionAtSlot<ReplyCall>(&spi, slot)(&spi, nullptr, nullptr, 7, true);
    FunctionAtSlot<void (*)(void*)>(&spi, 0)(&spi);
    FunctionAtSlot<void (*)(void*, int)>(&spi, 1)(&spi, 0);

    EXPECT_EQ(spi.loginRsp, nullptr);
    EXPECT_EQ(spi.order, nullptr);
    EXPECT_EQ(spi.trade, nullptr);
}

TEST(ExportedDispatch, MdCallbacksAreReachedThroughTheirPositions) {
    RecordingMdSpi spi;
    NarvDepthQuoteRecord depthQuote{};
    NarvQuotInstrumentRecord instrument{};

    FunctionAtSlot<ReplyCall>(&spi, 7)(&spi, &instrument, nullptr, 0, true);
    FunctionAtSlot<PushCall>(&spi, 11)(&spi, &depthQuote);
    FunctionAtSlot<ReplyCall>(&spi, 8)(&spi, &instrument, nullptr, 0, true);

    EXPECT_EQ(spi.subscribed, &instrument);
    EXPECT_EQ(spi.depthQuote, &depthQuote);
}

// Objects are destroyed only through Release (interfaces) or as the
// application's own type (callbacks): no virtual destructor may shift the
// positions, and no one may delete through an interface pointer.
template <typename Interface>
constexpr bool kDestroyedOnlyFromInside =
    std::is_polymorphic_v<Interface> && !std::has_virtual_destructor_v<Interface> && !std::is_destructible_v<Interface>;

static_assert(kDestroyedOnlyFromInside<CNarvSqelTraderApi>);
static_assert(kDestroyedOnlyFromInside<CNarvSqelTraderSpi>);
static_assert(kDestroyedOnlyFromInside<CNarvSqelMdApi>);
static_assert(kDestroyedOnlyFromInside<CNarvSqelMdSpi>);

// The request interfaces are implemented by the libraries; the callback
// interfaces come with empty defaults so an application overrides only what
// it needs.
static_assert(std::is_abstract_v<CNarvSqelTraderApi>);
static_assert(std::is_abstract_v<CNarvSqelMdApi>);
static_assert(!std::is_abstract_v<CNarvSqelTraderSpi>);
static_assert(!std::is_abstract_v<CNarvSqelMdSpi>);

// Records are zeroed, copied and read at byte offsets: they must be plain.
template <typename... Records>
constexpr bool kAllPlain = ((std::is_standard_layout_v<Records> && std::is_trivial_v<Records>)&&...);

static_assert(
    kAllPlain<NarvRspInfoRecord, NarvLoginReqRecord, NarvLoginRspRecord, NarvLogoutRecord, NarvChangePasswordRecord,
              NarvAuthenticateReqRecord, NarvAuthenticateRspRecord, NarvAcknowledgeRecord, NarvInputOrderRecord,
              NarvOrderActionRecord, NarvOrderRecord, NarvTradeRecord, NarvOrderQueryRecord, NarvTradeQueryRecord,
              NarvPosiQueryRecord, NarvPosiDetailQueryRecord, NarvFundQueryRecord, NarvInvestorFeeRateQueryRecord,
              NarvInvestorMarginRateQueryRecord, NarvExchangeMarginRateQueryRecord, NarvExchangeQueryRecord,
              NarvProductQueryRecord, NarvInstrumentQueryRecord, NarvQuotQueryRecord, NarvFundRecord, NarvPosiRecord,
              NarvPosiDetailRecord, NarvInstrumentRecord, NarvInvestorFeeRateRecord, NarvInvestorMarginRateRecord,
              NarvExchangeMarginRateRecord, NarvProductRecord, NarvExchangeRecord, NarvQuotRecord,
              NarvMaxOrderQtyRecord, NarvSettlementConfirmRecord, NarvInvestorQueryRecord, NarvInvestorRecord,
              NarvCurrencyRecord, NarvQuotInstrumentRecord, NarvDepthQuoteRecord>);

}  // namespace
