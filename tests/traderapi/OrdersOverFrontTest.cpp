// Order entry and cancel as the front receives them (codes, texts cut to the back end's and to the
// application's field widths, the 64-bit session id), their rejections, and the order and trade pushes
// as the application receives them, byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TraderFrontSupport.h"

namespace traderapi_test {
namespace {

// The session number has its top bit set: the back end's id is rebuilt from unsigned halves.
constexpr std::int64_t kSessionWithTopBit = (std::int64_t{5} << 32) | 0x80000007LL;

class Orders : public FrontFixture {
protected:
    void SetUp() override {
        FrontFixture::SetUp();
        ASSERT_EQ(LogIn("INV1", "2025-03-14", kSessionWithTopBit).position, 4);
        spi.Clear();
    }

    NarvInputOrderRecord Order(char priceType, char bsFlag, char ocFlag, const char* exchangeID) {
        NarvInputOrderRecord order{};
        std::strcpy(order.InvestorID, "INV1");
        std::strcpy(order.InstrumentID, "cu2505");
        order.PriceType = priceType;
        order.BSFlag = bsFlag;
        order.OCFlag = ocFlag;
        std::strcpy(order.ExchangeID, exchangeID);
        order.Qty = 1;
        return order;
    }
    NELOInputOrderRecord Send(const NarvInputOrderRecord& order, int requestId) {
        EXPECT_EQ(api->ReqInputOrder(&order, requestId), 0);
        std::unique_ptr<ReceivedMessage> request = Expect(122);
        if (request == nullptr) {
            return {};
        }
        EXPECT_EQ(request->RequestID, requestId);
        return ReadGroup<NELOInputOrderRecord>(*request, TZOField::InputOrder, kNELOInputOrderLayout);
    }
    NELOOrderCancelRecord Send(const NarvOrderActionRecord& cancel, int requestId) {
        EXPECT_EQ(api->ReqOrderCancel(&cancel, requestId), 0);
        std::unique_ptr<ReceivedMessage> request = Expect(127);
        if (request == nullptr) {
            return {};
        }
        EXPECT_EQ(request->RequestID, requestId);
        return ReadGroup<NELOOrderCancelRecord>(*request, TZOField::OrderCancelReq, kNELOOrderCancelLayout);
    }
};

struct OrderCodeCase {
    char priceType, bsFlag, ocFlag;
    const char* exchangeID;
    char wirePriceType, wireBSFlag, wireOCFlag;
};

const OrderCodeCase kOrderCodes[] = {
    {'1', '0', '0', "SHFE", 'M', 'B', 'O'},
    {'2', '1', '1', "SHFE", 'L', 'S', 'C'},
    {'9', 'x', '3', "SHFE", 'L', 'S', 'T'},
    {'1', '0', '3', "INE", 'M', 'B', 'T'},
    {'1', '0', '3', "CFFEX", 'M', 'B', 'C'},
    {'1', '0', '3', "SHFEX", 'M', 'B', 'C'},  // only the exact exchange ids close today
    {'1', '0', '3', "shfe", 'M', 'B', 'C'},
    {'1', '0', '4', "SHFE", 'M', 'B', 'C'},
    {'\0', '\0', '\0', "", 'L', 'S', 'C'},
};

TEST_F(Orders, CodesAreTranslatedForTheBackEnd) {
    int requestId = 100;
    for (const OrderCodeCase& row : kOrderCodes) {
        SCOPED_TRACE(std::string("codes ") + row.priceType + row.bsFlag + row.ocFlag + " on " + row.exchangeID);
        const NELOInputOrderRecord sent =
            Send(Order(row.priceType, row.bsFlag, row.ocFlag, row.exchangeID), ++requestId);
        EXPECT_EQ(sent.PriceType, row.wirePriceType);
        EXPECT_EQ(sent.BSFlag, row.wireBSFlag);
        EXPECT_EQ(sent.OCFlag, row.wireOCFlag);
    }
}

TEST_F(Orders, EveryOrderFieldReachesTheWire) {
    NarvInputOrderRecord order = Order('2', '0', '0', "DCE");
    std::strcpy(order.FirmID, "not sent");
    std::strcpy(order.OrderRef, "REF000000012");
    std::strcpy(order.InstrumentID, "INSTRUMENT_0123456789");  // 21 characters: 15 are sent
    std::strcpy(order.ClientID, "CLIENT123456789");
    std::strcpy(order.IPAddress, "192.168.100.200");
    std::strcpy(order.MacAddress, "00:11:22:33:44:55");
    std::strcpy(order.InvestorUnit, "UNIT567890123456");
    order.Price = 4567.5;
    order.Qty = 3;
    order.RequestID = 77;
    order.TimeCondition = '3';
    order.VolumeCondition = '1';
    order.HedgeFlag = '9';  // not read
    const NELOInputOrderRecord sent = Send(order, 23);
    EXPECT_STREQ(sent.InvestorID, "INV1");
    EXPECT_STREQ(sent.ExchangeID, "DCE");
    EXPECT_STREQ(sent.InstrumentID, "INSTRUMENT_0123");
    EXPECT_STREQ(sent.OrderRef, "REF000000012");
    EXPECT_STREQ(sent.ClientID, "CLIENT123456789");
    EXPECT_STREQ(sent.IPAddress, "192.168.100.200");
    EXPECT_STREQ(sent.MacAddress, "00:11:22:33:44:55");
    EXPECT_STREQ(sent.InvestorUnit, "UNIT567890123456");
    EXPECT_EQ(sent.Price, 4567.5);
    EXPECT_EQ(sent.Qty, 3);
    EXPECT_EQ(sent.RequestID, 77);
    EXPECT_EQ(sent.TimeCondition, '3');
    EXPECT_EQ(sent.VolumeCondition, '1');
    EXPECT_EQ(sent.ConditionType, 'P');
    EXPECT_EQ(sent.ConditionMethod, '5');
    EXPECT_EQ(sent.ConditionPrice, 0.0);
    EXPECT_STREQ(sent.OrderID, "");
    EXPECT_STREQ(sent.AccountID, "");
    EXPECT_EQ(sent.ProfitStopPrice, 0.0);
    EXPECT_EQ(sent.LossStopPrice, 0.0);
    EXPECT_EQ(sent.FilledPoints, 0);
    EXPECT_EQ(sent.SessionID, kSessionWithTopBit) << "the id the back end assigned, not one lowered by the sign";
}

// Request fields that fill their whole width without a terminator are cut at their own width; nothing
// of the bytes after them is sent.
TEST_F(Orders, UnterminatedRequestFieldsAreCutAtTheirWidth) {
    NarvInputOrderRecord order{};
    std::memset(&order, '#', sizeof(order));
    std::memset(order.InvestorID, 'I', sizeof(order.InvestorID));
    std::memset(order.OrderRef, 'R', sizeof(order.OrderRef));
    std::memset(order.ExchangeID, 'E', sizeof(order.ExchangeID));
    std::memset(order.InvestorUnit, 'U', sizeof(order.InvestorUnit));
    std::memset(order.ClientID, 'C', sizeof(order.ClientID));
    std::memset(order.MacAddress, 'M', sizeof(order.MacAddress));
    std::memset(order.InstrumentID, 'N', sizeof(order.InstrumentID));
    std::memset(order.IPAddress, 'P', sizeof(order.IPAddress));
    const NELOInputOrderRecord sent = Send(order, 24);
    EXPECT_EQ(std::string(sent.InvestorID), std::string(12, 'I'));
    EXPECT_EQ(std::string(sent.OrderRef), std::string(12, 'R'));
    EXPECT_EQ(std::string(sent.ExchangeID), std::string(8, 'E'));
    EXPECT_EQ(std::string(sent.InvestorUnit), std::string(16, 'U'));
    EXPECT_EQ(std::string(sent.ClientID), std::string(15, 'C'));
    EXPECT_EQ(std::string(sent.MacAddress), std::string(20, 'M'));
    EXPECT_EQ(std::string(sent.InstrumentID), std::string(15, 'N'));
    EXPECT_EQ(std::string(sent.IPAddress), std::string(32, 'P'));

    NarvOrderActionRecord cancel{};
    std::memset(&cancel, '#', sizeof(cancel));
    std::memset(cancel.InvestorID, 'I', sizeof(cancel.InvestorID));
    std::memset(cancel.OrderRef, 'R', sizeof(cancel.OrderRef));
    std::memset(cancel.ExchangeID, 'E', sizeof(cancel.ExchangeID));
    std::memset(cancel.OrderSysID, 'S', sizeof(cancel.OrderSysID));
    std::memset(cancel.InstrumentID, 'N', sizeof(cancel.InstrumentID));
    const NELOOrderCancelRecord cancelSent = Send(cancel, 25);
    EXPECT_EQ(std::string(cancelSent.InvestorID), std::string(12, 'I'));
    EXPECT_EQ(std::string(cancelSent.OrderRef), std::string(12, 'R'));
    EXPECT_EQ(std::string(cancelSent.ExchangeID), std::string(8, 'E'));
    EXPECT_EQ(std::string(cancelSent.OrderSysID), std::string(20, 'S'));
    EXPECT_EQ(std::string(cancelSent.InstrumentID), std::string(15, 'N'));
}

struct CancelSessionCase {
    std::int32_t frontID;
    std::int32_t sessionID;
    std::int64_t wire;
};

const CancelSessionCase kCancelSessions[] = {
    {5, 7, (std::int64_t{5} << 32) | 7},
    {5, -2, (std::int64_t{5} << 32) | 0xFFFFFFFELL},
    {-1, -1, -1},
    {0, 0, 0},
};

TEST_F(Orders, CancelSendsTheOrdersOwnKeysAndSessionId) {
    int requestId = 200;
    for (const CancelSessionCase& row : kCancelSessions) {
        SCOPED_TRACE("front " + std::to_string(row.frontID) + " session " + std::to_string(row.sessionID));
        NarvOrderActionRecord cancel{};
        std::strcpy(cancel.FirmID, "not sent");
        std::strcpy(cancel.InvestorID, "OTHER");  // the request's investor, not the session's
        std::strcpy(cancel.OrderRef, "REF7");
        std::strcpy(cancel.ExchangeID, "SHFE");
        std::strcpy(cancel.OrderSysID, "SYS000000000000000001");
        std::strcpy(cancel.InstrumentID, "cu2505");
        cancel.FrontID = row.frontID;
        cancel.SessionID = row.sessionID;
        const NELOOrderCancelRecord sent = Send(cancel, ++requestId);
        EXPECT_STREQ(sent.InvestorID, "OTHER");
        EXPECT_STREQ(sent.OrderRef, "REF7");
        EXPECT_STREQ(sent.ExchangeID, "SHFE");
        EXPECT_STREQ(sent.OrderSysID, "SYS00000000000000000");
        EXPECT_STREQ(sent.InstrumentID, "cu2505");
        EXPECT_STREQ(sent.OrderID, "");
        EXPECT_STREQ(sent.AccountID, "");
        EXPECT_EQ(sent.SessionID, row.wire);
    }
}

NELOInputOrderRecord RejectedOrder() {
    NELOInputOrderRecord order{};
    std::strcpy(order.InvestorID, "INV123456789ABC");
    std::strcpy(order.OrderRef, "REF0123456789ABCDEF");
    std::strcpy(order.InstrumentID, "cu2505");
    std::strcpy(order.ExchangeID, "EXCHANGE12345");
    std::strcpy(order.ClientID, "CLIENT");
    order.PriceType = 'M';
    order.BSFlag = 'B';
    order.OCFlag = 'T';
    order.Price = 71000.0;
    order.Qty = 4;
    order.RequestID = 55;
    order.TimeCondition = '9';
    order.SessionID = kSessionWithTopBit;
    return order;
}

// Every reply field of a rejected order, the rest zero.
RecordImage RejectedOrderImage() {
    RecordImage image(392);
    image.Text(0, "FIRM01").Text(11, "INV123456789").Text(55, "REF012345678").Text(68, "INV123456789ABC");
    image.Char(84, '1').Char(85, '0').Char(86, '3').Char(91, '1').Double(96, 71000.0).Int(104, 4);
    image.Char(108, '1').Text(109, "20250314").Char(118, '1').Int(120, 1).Char(124, '1').Char(136, '0');
    image.Text(180, "EXCHANGE").Text(271, "cu2505");
    return image;
}

struct ReplyCase {
    const char* name;
    bool withRecord;
    std::int16_t rspNo;
    bool reachesApplication;
};

const ReplyCase kOrderReplies[] = {
    {"rejected with its record", true, 31, true},        {"rejected without a record", false, 31, true},
    {"rejected with the all-ones code", true, -1, true}, {"accepted", true, 0, false},
    {"accepted without a record", false, 0, false},
};

TEST_F(Orders, OnlyRejectedOrdersAreAnswered) {
    int requestId = 300;
    for (const ReplyCase& row : kOrderReplies) {
        SCOPED_TRACE(row.name);
        ++requestId;
        const NELOInputOrderRecord order = RejectedOrder();
        const NELORspInfoRecord info = BackEndInfo(row.rspNo, kGbkNoFunds);
        front.Send(123, requestId, 0, [&](CAPIPackage& p) {
            if (AddInfo(p, info) < 0) return -1;
            return row.withRecord ? TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order) : 0;
        });
        SyncWithFront();
        const Call call =
            spi.WaitFor([&](const Call& c) { return c.requestId == requestId; }, std::chrono::milliseconds(0));
        if (!row.reachesApplication) {
            EXPECT_EQ(call.position, -1) << "an accepted order is told through OnOrderNty only";
            continue;
        }
        ExpectIOReply(call, 11, requestId, true);
        ASSERT_TRUE(call.hasInfo);
        EXPECT_EQ(call.info.ErrorID, static_cast<std::uint16_t>(row.rspNo));
        EXPECT_STREQ(call.info.ErrorMsg, kGbkNoFunds);
        if (row.withRecord) {
            EXPECT_EQ(RejectedOrderImage().Differences(call.record), "");
        } else {
            EXPECT_FALSE(call.HasRecord()) << "a rejection without its record still reaches the application";
        }
    }
}

const ReplyCase kCancelReplies[] = {
    {"rejected with its record", true, 21, true},
    {"rejected without a record", false, 21, true},
    {"accepted", true, 0, false},
};

TEST_F(Orders, OnlyRejectedCancelsAreAnswered) {
    int requestId = 400;
    for (const ReplyCase& row : kCancelReplies) {
        SCOPED_TRACE(row.name);
        ++requestId;
        NELOOrderCancelRecord cancel{};
        std::strcpy(cancel.InvestorID, "INV123456789ABC");
        std::strcpy(cancel.OrderRef, "REF0123456789ABCDEF");
        std::strcpy(cancel.ExchangeID, "EXCHANGE12345");
        std::strcpy(cancel.InstrumentID, "cu2505");
        std::strcpy(cancel.OrderSysID, "SYS0123456789012345678901");
        std::strcpy(cancel.AccountID, "not passed on");
        cancel.SessionID = (std::int64_t{9} << 32) | 0xFFFFFFF0LL;
        const NELORspInfoRecord info = BackEndInfo(row.rspNo, kGbkCancelFailed);
        front.Send(128, requestId, 0, [&](CAPIPackage& p) {
            if (AddInfo(p, info) < 0) return -1;
            return row.withRecord ? TZOAddRecord(p, TZOField::OrderCancelRsp.id, kNELOOrderCancelLayout, &cancel) : 0;
        });
        SyncWithFront();
        const Call call =
            spi.WaitFor([&](const Call& c) { return c.requestId == requestId; }, std::chrono::milliseconds(0));
        if (!row.reachesApplication) {
            EXPECT_EQ(call.position, -1);
            continue;
        }
        ExpectIOReply(call, 14, requestId, true);
        ASSERT_TRUE(call.hasInfo);
        EXPECT_EQ(call.info.ErrorID, row.rspNo);
        EXPECT_STREQ(call.info.ErrorMsg, kGbkCancelFailed);
        if (!row.withRecord) {
            EXPECT_FALSE(call.HasRecord());
            continue;
        }
        RecordImage image(320);
        image.Text(0, "FIRM01").Text(11, "INV123456789").Text(28, "REF012345678").Int(44, requestId);
        image.Int(48, 9).Int(52, static_cast<std::int32_t>(0xFFFFFFF0u)).Text(56, "EXCHANGE");
        image.Text(65, "SYS01234567890123456").Char(86, '0').Text(100, "INV123456789ABC").Text(201, "cu2505");
        EXPECT_EQ(image.Differences(call.record), "");
    }
}

NELOOrderRecord PushedOrder() {
    NELOOrderRecord order{};
    std::strcpy(order.InvestorID, "INV123456789ABC");
    std::strcpy(order.OrderRef, "REF0123456789ABCDEF");
    order.PriceType = 'L';
    order.BSFlag = 'S';
    order.OCFlag = 'C';
    order.Price = 5120.5;
    order.Qty = 10;
    order.QtyLeft = 4;
    order.TimeCondition = '3';
    order.VolumeCondition = '2';
    order.RequestID = 66;
    std::strcpy(order.OrderID, "000123");
    std::strcpy(order.ExchangeID, "EXCHANGE12345");
    std::strcpy(order.ClientID, "CLIENT12345678");
    std::strcpy(order.AccountID, "ACCOUNT-1234567890123456");
    order.OrderSubmitStatus = '4';
    std::strcpy(order.OrderSysID, "SYS0123456789012345678901");
    order.OrderStatus = 'I';
    std::strcpy(order.OrderDate, "2025-03-13");
    std::strcpy(order.OrderTime, "21:05:07");
    std::strcpy(order.ModifyTime, "21:06:08");
    order.SessionID = kSessionWithTopBit;
    std::strcpy(order.UserProductInfo, "UPI1234567");
    std::strcpy(order.InvestorUnit, "UNIT567890123456");
    std::strcpy(order.MacAddress, "00:11:22:33:44:55:66:77");
    std::strcpy(order.InstrumentID, "cu2505");
    std::strcpy(order.IPAddress, "10.0.0.1");
    return order;
}

TEST_F(Orders, AnOrderPushReachesTheApplicationByteByByte) {
    Push(124, TZOField::Order, kNELOOrderLayout, PushedOrder());
    const Call call = spi.WaitForPosition(73);
    ASSERT_EQ(call.position, 73);
    EXPECT_EQ(call.thread, ioThread);
    EXPECT_FALSE(call.hasInfo);
    RecordImage image(856);
    image.Text(0, "FIRM01").Text(11, "INV123456789").Text(55, "REF012345678").Text(68, "INV123456789ABC");
    image.Char(84, '2').Char(85, '1').Char(86, '1').Char(91, '1').Double(96, 5120.5).Int(104, 10);
    image.Char(108, '3').Text(109, "20250314").Char(118, '2').Int(120, 1).Char(124, '1').Char(136, '0');
    image.Int(168, 66).Text(172, "000123").Text(185, "EXCHANGE").Text(205, "CLIENT1234");
    image.Text(247, "ACCOUNT-123456789012").Char(272, '4').Text(280, "20250314").Text(296, "SYS01234567890123456");
    image.Char(318, '1').Int(320, 6).Int(324, 4).Text(328, "20250313").Text(337, "21:05:07").Text(364, "21:06:08");
    image.Int(420, 5).Int(424, static_cast<std::int32_t>(0x80000007u)).Text(428, "UPI1234567");
    image.Text(439, kGbkPartlyTraded).Int(540, 123).Text(585, "UNIT567890123456").Text(635, "00:11:22:33:44:55:66");
    image.Text(656, "cu2505").Text(737, "cu2505").Text(818, "10.0.0.1");
    EXPECT_EQ(image.Differences(call.record), "");
}

struct OrderStatusCase {
    char wireStatus;
    std::int32_t qty, qtyLeft;
    const char* wireText;
    char status;
    std::int32_t traded;
    const char* text;
};

const OrderStatusCase kOrderStatuses[] = {
    {'C', 10, 10, "", '5', 0, kGbkCancelled},        {'F', 10, 0, "", '0', 10, kGbkAllTraded},
    {'I', 10, 10, "", '3', 0, kGbkReported},         {'I', 10, 4, "", '1', 6, kGbkPartlyTraded},
    {'X', 10, 10, "", 'a', 0, kGbkAccepted},         {'\0', 3, 1, "", 'a', 2, kGbkAccepted},
    {'F', 10, 0, kGbkNoFunds, '0', 10, kGbkNoFunds},  // the back end's own text wins
};

TEST_F(Orders, OrderStatusAndItsTextFollowTheBackEnd) {
    for (const OrderStatusCase& row : kOrderStatuses) {
        SCOPED_TRACE(std::string("status ") + row.wireStatus + " " + std::to_string(row.qty) + "/" +
                     std::to_string(row.qtyLeft));
        spi.Clear();
        NELOOrderRecord order = PushedOrder();
        order.OrderStatus = row.wireStatus;
        order.Qty = row.qty;
        order.QtyLeft = row.qtyLeft;
        std::strcpy(order.OrderStatusDesc, row.wireText);
        Push(124, TZOField::Order, kNELOOrderLayout, order);
        const Call call = spi.WaitForPosition(73);
        ASSERT_EQ(call.position, 73);
        EXPECT_EQ(call.Char(318), row.status);
        EXPECT_EQ(call.At<std::int32_t>(320), row.traded);
        EXPECT_EQ(call.At<std::int32_t>(324), row.qtyLeft);
        EXPECT_EQ(call.Text(439), row.text);
    }
}

TEST_F(Orders, ATradePushReachesTheApplicationByteByByte) {
    NELOTradeRecord trade{};
    std::strcpy(trade.InvestorID, "INV123456789ABC");
    std::strcpy(trade.OrderRef, "REF0123456789ABCDEF");
    std::strcpy(trade.ExchangeID, "EXCHANGE12345");
    std::strcpy(trade.MatchID, "MATCH01234567890123456789");
    trade.BSFlag = 'B';
    std::strcpy(trade.OrderSysID, "SYS0123456789012345678901");
    std::strcpy(trade.ClientID, "CLIENT12345678");
    trade.OCFlag = 'T';
    trade.Price = 70990.0;
    trade.Qty = 2;
    std::strcpy(trade.MatchDate, "2025-03-13");
    std::strcpy(trade.MatchTime, "21:07:09");
    std::strcpy(trade.AccountID, "ACCOUNT-1234567890123456");
    std::strcpy(trade.OrderID, "ABC");  // no digits: read as 0
    std::strcpy(trade.InvestorUnit, "UNIT567890123456");
    std::strcpy(trade.InstrumentID, "cu2505");
    trade.FeeRate = 1.5;  // not passed on
    Push(130, TZOField::Trade, kNELOTradeLayout, trade);
    const Call call = spi.WaitForPosition(74);
    ASSERT_EQ(call.position, 74);
    EXPECT_EQ(call.thread, ioThread);
    RecordImage image(496);
    image.Text(0, "FIRM01").Text(11, "INV123456789").Text(55, "REF012345678").Text(68, "INV123456789ABC");
    image.Text(84, "EXCHANGE").Text(93, "MATCH012345678901234").Char(114, '0').Text(115, "SYS01234567890123456");
    image.Text(147, "CLIENT1234").Char(190, '3').Char(191, '1').Double(192, 70990.0).Int(200, 2);
    image.Text(204, "20250313").Text(213, "21:07:09").Char(222, '0').Text(224, "ACCOUNT-123456789012");
    image.Text(245, "ABC").Text(296, "20250314").Int(312, 0).Text(317, "UNIT567890123456");
    image.Text(334, "cu2505").Text(415, "cu2505");
    EXPECT_EQ(image.Differences(call.record), "");
}

}  // namespace
}  // namespace traderapi_test
