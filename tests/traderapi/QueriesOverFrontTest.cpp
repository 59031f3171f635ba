// The twelve queries through the shared library and a scripted front: each request's fields on the wire
// (read from the application's record at their offsets), each answer's record as the application
// receives it byte by byte, and the last flag over answers of several records and packages.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "NELOTradeCatalog.h"
#include "TraderFrontSupport.h"

namespace traderapi_test {
namespace {

class Queries : public FrontFixture {
protected:
    void SetUp() override {
        FrontFixture::SetUp();
        ASSERT_EQ(LogIn("INV123456789ABC", "2025-03-14", 1).position, 4);
        spi.Clear();
    }

    // Answers `requestId` with these rows in one package (EndFlag 0) and returns the first callback.
    template <class Row>
    Call Answer(const NELOTradeMessageDef& service, int callbackPosition, int requestId, const std::vector<Row>& rows) {
        const NELORspInfoRecord info = BackEndInfo(0, "");
        const NELOTradeMessageDef& reply = *NELOTradeReplyTo(service);
        front.Send(reply.serviceNo, requestId, 0, [&](CAPIPackage& p) {
            if (AddInfo(p, info) < 0) return -1;
            return AddRows(p, *reply.body.field, *reply.body.record->layout, rows);
        });
        const Call call = spi.WaitForReply(callbackPosition, requestId);
        ExpectIOReply(call, callbackPosition, requestId, rows.size() <= 1);
        return call;
    }
};

using Invoke = std::function<int(CNarvSqelTraderApi&, const void*, int)>;
#define QUERY(Method, Type)                                       \
    [](CNarvSqelTraderApi& api, const void* request, int id) {    \
        return api.Method(static_cast<const Type*>(request), id); \
    }

enum class KeyShape { InstrumentExchange, ExchangeInstrument, InvestorOnly, ExchangeOnly, Product };

struct QueryCase {
    const char* name;
    Invoke invoke;
    const NELOTradeMessageDef* service;  // the request's row of the message table
    KeyShape shape;
    std::size_t exchangeOffset;    // where the request keeps its exchange filter
    std::size_t instrumentOffset;  // and its instrument filter (product id for the product query)
    int callbackPosition;
};

const QueryCase kQueries[] = {
    {"order", QUERY(ReqOrderQuery, NarvOrderQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::OrderQuery),
     KeyShape::InstrumentExchange, 55, 120, 28},
    {"trade", QUERY(ReqTradeQuery, NarvTradeQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::TradeQuery),
     KeyShape::InstrumentExchange, 55, 120, 29},
    {"position", QUERY(ReqPosiQuery, NarvPosiQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::PosiQuery),
     KeyShape::InstrumentExchange, 55, 81, 30},
    {"fund", QUERY(ReqFundQuery, NarvFundQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::FundQuery),
     KeyShape::InvestorOnly, 0, 100, 31},
    {"investor margin rate", QUERY(ReqInvestorMarginRateQuery, NarvInvestorMarginRateQueryRecord),
     &NELOTradeMessageOf(NELOTradeMessage::InvestorMarginRateQuery), KeyShape::ExchangeInstrument, 56, 82, 34},
    {"investor fee rate", QUERY(ReqInvestorFeeRateQuery, NarvInvestorFeeRateQueryRecord),
     &NELOTradeMessageOf(NELOTradeMessage::InvestorFeeRateQuery), KeyShape::ExchangeInstrument, 55, 81, 35},
    {"exchange", QUERY(ReqExchangeQuery, NarvExchangeQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::ExchangeQuery),
     KeyShape::ExchangeOnly, 0, 100, 36},
    {"product", QUERY(ReqProductQuery, NarvProductQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::ProductQuery),
     KeyShape::Product, 32, 41, 37},
    {"instrument", QUERY(ReqInstrumentQuery, NarvInstrumentQueryRecord),
     &NELOTradeMessageOf(NELOTradeMessage::InstrumentQuery), KeyShape::InstrumentExchange, 31, 102, 38},
    {"quotation", QUERY(ReqQuotQuery, NarvQuotQueryRecord), &NELOTradeMessageOf(NELOTradeMessage::QuotQuery),
     KeyShape::InstrumentExchange, 31, 40, 39},
    {"position detail", QUERY(ReqPosiDetailQuery, NarvPosiDetailQueryRecord),
     &NELOTradeMessageOf(NELOTradeMessage::PosiDetailQuery), KeyShape::InstrumentExchange, 55, 81, 42},
    {"exchange margin rate", QUERY(ReqExchangeMarginRateQuery, NarvExchangeMarginRateQueryRecord),
     &NELOTradeMessageOf(NELOTradeMessage::ExchangeMarginRateQuery), KeyShape::ExchangeInstrument, 43, 52, 49},
};

struct AnyQuery {
    alignas(8) unsigned char bytes[256] = {};
};

// Each query: its fields on the wire, and an answer without rows reaching its callback once.
TEST_F(Queries, EachQuerySendsItsFiltersAndIsAnsweredAtItsPosition) {
    int requestId = 500;
    for (const QueryCase& row : kQueries) {
        SCOPED_TRACE(row.name);
        ++requestId;
        AnyQuery query;
        std::memset(query.bytes, 'z', sizeof(query.bytes));  // every byte not at a filter is ignored
        PutText(query.bytes, row.exchangeOffset, "EXCH1234");
        PutText(query.bytes, row.instrumentOffset, "INSTRUMENT_0123456789");
        if (row.shape == KeyShape::Product) {
            query.bytes[31] = '1';
        }
        ASSERT_EQ(row.invoke(*api, query.bytes, requestId), 0);
        std::unique_ptr<ReceivedMessage> request = Expect(row.service->serviceNo);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->RequestID, requestId);
        const TZOFieldDef& group = *row.service->body.field;
        switch (row.shape) {
            case KeyShape::InstrumentExchange: {
                const auto key = ReadGroup<NELOQueryKeyRecord>(*request, group, kNELOQueryKeyLayout);
                EXPECT_STREQ(key.InvestorID, "INV123456789ABC");
                EXPECT_STREQ(key.ExchangeID, "EXCH1234");
                EXPECT_STREQ(key.InstrumentID, "INSTRUMENT_0123");
                break;
            }
            case KeyShape::ExchangeInstrument: {
                const auto key = ReadGroup<NELORateKeyRecord>(*request, group, kNELORateKeyLayout);
                EXPECT_STREQ(key.InvestorID, "INV123456789ABC");
                EXPECT_STREQ(key.ExchangeID, "EXCH1234");
                EXPECT_STREQ(key.InstrumentID, "INSTRUMENT_0123");
                break;
            }
            case KeyShape::InvestorOnly:
                EXPECT_STREQ(ReadGroup<NELOInvestorRecord>(*request, group, kNELOInvestorLayout).InvestorID,
                             "INV123456789ABC");
                break;
            case KeyShape::ExchangeOnly:
                EXPECT_STREQ(ReadGroup<NELOExchangeKeyRecord>(*request, group, kNELOExchangeKeyLayout).ExchangeID,
                             "EXCH1234");
                break;
            case KeyShape::Product: {
                const auto key = ReadGroup<NELOProductKeyRecord>(*request, group, kNELOProductKeyLayout);
                EXPECT_STREQ(key.ExchangeID, "EXCH1234");
                EXPECT_EQ(key.InstrumentType, 'F');
                EXPECT_STREQ(key.ProductID, "INSTRUMENT");
                break;
            }
        }
        const NELORspInfoRecord info = BackEndInfo(0, "");
        front.Send(NELOTradeReplyTo(*row.service)->serviceNo, requestId, 0,
                   [&](CAPIPackage& p) { return AddInfo(p, info); });
        const Call call = spi.WaitForReply(row.callbackPosition, requestId);
        ExpectIOReply(call, row.callbackPosition, requestId, true);
        EXPECT_FALSE(call.HasRecord());
        EXPECT_TRUE(call.hasInfo);
    }
}

struct ProductClassCase {
    char productClass;
    char wireType;
};

const ProductClassCase kProductClasses[] = {{'1', 'F'}, {'2', 'O'}, {'0', '\0'}, {'7', '\0'}, {'\0', '\0'}};

TEST_F(Queries, ProductClassSelectsTheInstrumentType) {
    int requestId = 600;
    for (const ProductClassCase& row : kProductClasses) {
        SCOPED_TRACE(std::string("class ") + row.productClass);
        NarvProductQueryRecord query{};
        query.ProductClass = row.productClass;
        ASSERT_EQ(api->ReqProductQuery(&query, ++requestId), 0);
        std::unique_ptr<ReceivedMessage> request = Expect(301);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(
            ReadGroup<NELOProductKeyRecord>(*request, TZOField::ProductQueryReq, kNELOProductKeyLayout).InstrumentType,
            row.wireType);
    }
    // Classes 3 to 6 never reach the back end: the next message is the query after them.
    for (char productClass : {'3', '4', '5', '6'}) {
        NarvProductQueryRecord query{};
        query.ProductClass = productClass;
        ASSERT_EQ(api->ReqProductQuery(&query, ++requestId), 0);
        const Call call = spi.WaitForReply(37, requestId);
        EXPECT_EQ(call.position, 37);
        EXPECT_NE(call.thread, ioThread) << "answered by the library on its dispatch thread";
        EXPECT_EQ(call.info.ErrorID, 99);
    }
    NarvExchangeQueryRecord exchange{};
    ASSERT_EQ(api->ReqExchangeQuery(&exchange, ++requestId), 0);
    std::unique_ptr<ReceivedMessage> next = NextMessage();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->ServiceNo, 303);
}

TEST_F(Queries, TheLastFlagMarksTheFinalRecordAcrossPackages) {
    NELOOrderRecord row{};
    std::strcpy(row.InstrumentID, "cu2505");
    const NELORspInfoRecord info = BackEndInfo(0, "");
    // Two rows in a package that says more follows, then one in the final package.
    front.Send(138, 40, 1, [&](CAPIPackage& p) {
        if (AddInfo(p, info) < 0) return -1;
        return AddRows(p, TZOField::OrderList, kNELOOrderLayout, std::vector<NELOOrderRecord>{row, row});
    });
    front.Send(138, 40, 0, [&](CAPIPackage& p) {
        if (AddInfo(p, info) < 0) return -1;
        return AddRows(p, TZOField::OrderList, kNELOOrderLayout, std::vector<NELOOrderRecord>{row});
    });
    // Three rows in one final package.
    front.Send(140, 41, 0, [&](CAPIPackage& p) {
        return AddRows(p, TZOField::TradeList, kNELOTradeLayout, std::vector<NELOTradeRecord>(3));
    });
    ASSERT_TRUE(spi.WaitForCount(6));
    const std::vector<Call> calls = spi.Calls();
    const int expectedPositions[] = {28, 28, 28, 29, 29, 29};
    const bool expectedLast[] = {false, false, true, false, false, true};
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE("callback " + std::to_string(i));
        ExpectIOReply(calls[i], expectedPositions[i], i < 3 ? 40 : 41, expectedLast[i]);
        EXPECT_TRUE(calls[i].HasRecord());
        EXPECT_EQ(calls[i].hasInfo, i < 3) << "a reply without response info passes none on";
    }
    EXPECT_EQ(calls[0].Text(656), "cu2505");
}

TEST_F(Queries, FundReply) {
    NELOFundRecord fund{};
    std::strcpy(fund.TradeDate, "2030-01-01");  // the session's trading day is reported instead
    std::strcpy(fund.InvestorID, "someone");
    fund.LastBalance = 1.5;
    fund.InAmount = 2.5;
    fund.OutAmount = 3.5;
    fund.FrozenMargin = 4.5;
    fund.FrozenCash = 5.5;
    fund.FeeFrozen = 6.5;
    fund.Margin = 7.5;
    fund.CashIn = 8.5;
    fund.Fee = 9.5;
    fund.ClosedPL = 10.5;
    fund.FloatingPL = 11.5;
    fund.FloatBalance = 12.5;
    fund.FreeBalance = 13.5;
    fund.TotalPL = 99.0;  // not passed on
    const Call call =
        Answer(NELOTradeMessageOf(NELOTradeMessage::FundQuery), 31, 43, std::vector<NELOFundRecord>{fund});
    RecordImage image(400);
    image.Text(0, "FIRM01").Text(11, "INV123456789");
    const double values[] = {1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5, 10.5, 11.5, 12.5, 13.5};
    const std::size_t offsets[] = {48, 80, 88, 96, 104, 112, 120, 128, 136, 144, 152, 160, 168};
    for (std::size_t i = 0; i < 13; ++i) {
        image.Double(offsets[i], values[i]);
    }
    image.Text(192, "20250314").Text(256, "CNY");
    EXPECT_EQ(image.Differences(call.record), "");
}

NELOPosiRecord SamplePosition() {
    NELOPosiRecord posi{};
    std::strcpy(posi.ExchangeID, "EXCHANGE12345");
    std::strcpy(posi.InstrumentID, "cu2505");
    posi.BSFlag = 'B';
    posi.PositionDate = '1';
    posi.PreQty = 1;
    posi.Qty = 2;
    posi.LongFrozen = 3;
    posi.ShortFrozen = 4;
    posi.LongFrozenAmount = 5.5;
    posi.ShortFrozenAmount = 6.5;
    posi.OpenVolume = 7;
    posi.CloseVolume = 8;
    posi.OpenAmount = 9.5;
    posi.CloseAmount = 10.5;
    posi.Cost = 11.5;
    posi.PreMargin = 12.5;
    posi.Margin = 13.5;
    posi.FrozenMargin = 14.5;
    posi.FrozenCash = 15.5;
    posi.CashIn = 16.5;
    posi.ClosedPL = 17.5;
    posi.FloatingPL = 18.5;
    posi.PreSettle = 19.5;
    posi.SettlePrice = 20.5;
    posi.OpenCost = 21.5;
    posi.CloseProfitByDate = 22.5;
    posi.CloseProfitByTrade = 23.5;
    posi.TodayQty = 24;
    posi.MarginRateType = 'R';
    posi.MarginRate = 0.12;
    posi.PositionCostOffset = 25.5;
    return posi;
}

TEST_F(Queries, PositionReply) {
    const Call call =
        Answer(NELOTradeMessageOf(NELOTradeMessage::PosiQuery), 30, 42, std::vector<NELOPosiRecord>{SamplePosition()});
    RecordImage image(472);
    image.Text(31, "FIRM01").Text(42, "INV123456789").Char(55, '2').Char(56, '1').Char(57, '1');
    image.Int(60, 1).Int(64, 2).Int(68, 3).Int(72, 4).Double(80, 5.5).Double(88, 6.5).Int(96, 7).Int(100, 8);
    image.Double(104, 9.5).Double(112, 10.5).Double(120, 11.5).Double(128, 12.5).Double(136, 13.5);
    image.Double(144, 14.5).Double(152, 15.5).Double(168, 16.5).Double(184, 17.5).Double(192, 18.5);
    image.Double(200, 19.5).Double(208, 20.5).Text(216, "20250314").Double(232, 21.5).Double(240, 13.5);
    image.Double(264, 22.5).Double(272, 23.5).Int(280, 24).Double(288, 0.12).Text(324, "EXCHANGE");
    image.Double(360, 25.5).Text(384, "cu2505");
    EXPECT_EQ(image.Differences(call.record), "");
}

struct PositionCodeCase {
    char bsFlag, positionDate, marginRateType;
    char exportedBSFlag, exportedPositionDate;
    double byRatio, byAmount;
};

const PositionCodeCase kPositionCodes[] = {
    {'B', '1', 'R', '2', '1', 0.12, 0.0},
    {'S', '2', 'A', '3', '2', 0.0, 0.12},
    {'X', '0', 'Q', '3', '2', 0.0, 0.0},
};

TEST_F(Queries, PositionCodesAndMarginRateKind) {
    int requestId = 700;
    for (const PositionCodeCase& row : kPositionCodes) {
        SCOPED_TRACE(std::string("position ") + row.bsFlag + row.positionDate + row.marginRateType);
        NELOPosiRecord posi = SamplePosition();
        posi.BSFlag = row.bsFlag;
        posi.PositionDate = row.positionDate;
        posi.MarginRateType = row.marginRateType;
        const Call call =
            Answer(NELOTradeMessageOf(NELOTradeMessage::PosiQuery), 30, ++requestId, std::vector<NELOPosiRecord>{posi});
        EXPECT_EQ(call.Char(55), row.exportedBSFlag);
        EXPECT_EQ(call.Char(57), row.exportedPositionDate);
        EXPECT_EQ(call.At<double>(288), row.byRatio);
        EXPECT_EQ(call.At<double>(296), row.byAmount);
    }
}

NELOInstrumentRecord SampleInstrument() {
    NELOInstrumentRecord instrument{};
    std::strcpy(instrument.InstrumentID, "cu2505");
    std::strcpy(instrument.InstrumentName, "COPPER-2505-LONG-NAME-X");  // 23 characters: 20 kept
    std::strcpy(instrument.ExchangeID, "EXCHANGE12345");
    instrument.InstrumentType = 'F';
    std::strcpy(instrument.ExpiredDate, "2025-03-20");
    std::strcpy(instrument.OpenDate, "2024-03-18");
    instrument.TradeUnit = 5;
    instrument.MinMovement = 10.0;
    instrument.MarginRate = 0.08;
    instrument.StrikePrice = 70000.0;
    instrument.OptionsType = 'C';
    std::strcpy(instrument.GoodsName, "COPPER");
    std::strcpy(instrument.UnderlyingInstrID, "cu2505u");
    return instrument;
}

TEST_F(Queries, InstrumentReply) {
    const Call call = Answer(NELOTradeMessageOf(NELOTradeMessage::InstrumentQuery), 38, 50,
                             std::vector<NELOInstrumentRecord>{SampleInstrument()});
    RecordImage image(616);
    image.Text(31, "EXCHANGE").Text(40, "COPPER-2505-LONG-NAM").Char(123, '1').Int(124, 2025).Int(128, 3);
    image.Int(132, 2147483647).Int(136, 1).Int(140, 2147483647).Int(144, 1).Int(148, 5).Double(152, 10.0);
    image.Text(160, "20240318").Text(187, "20250320").Text(196, "20250320").Char(205, '1').Int(208, 1);
    image.Char(212, '2').Char(213, '1').Double(216, 0.08).Double(224, 0.08).Char(232, '0');
    image.Double(264, 70000.0).Char(272, '1').Char(288, '0').Text(289, "cu2505").Text(370, "cu2505");
    image.Text(451, "COPPER").Text(532, "cu2505u");
    EXPECT_EQ(image.Differences(call.record), "");
}

struct InstrumentCodeCase {
    char instrumentType, optionsType;
    const char* expiredDate;
    char exportedType, exportedOptionsType;
    std::int32_t year, month;
};

const InstrumentCodeCase kInstrumentCodes[] = {
    {'O', 'P', "2026-12-01", '2', '2', 2026, 12},
    {'S', 'C', "", '4', '1', 0, 0},
    {'B', 'C', "2025-01-31", 'B', '1', 2025, 1},
    {'D', 'C', "", 'D', '1', 0, 0},
    {'E', 'C', "", 'E', '1', 0, 0},
    {'Z', 'C', "", '\0', '1', 0, 0},
};

TEST_F(Queries, InstrumentTypesAndExpiry) {
    int requestId = 800;
    for (const InstrumentCodeCase& row : kInstrumentCodes) {
        SCOPED_TRACE(std::string("type ") + row.instrumentType + " expiring " + row.expiredDate);
        NELOInstrumentRecord instrument = SampleInstrument();
        instrument.InstrumentType = row.instrumentType;
        instrument.OptionsType = row.optionsType;
        std::strcpy(instrument.ExpiredDate, row.expiredDate);
        const Call call = Answer(NELOTradeMessageOf(NELOTradeMessage::InstrumentQuery), 38, ++requestId,
                                 std::vector<NELOInstrumentRecord>{instrument});
        EXPECT_EQ(call.Char(123), row.exportedType);
        EXPECT_EQ(call.Char(272), row.exportedOptionsType);
        EXPECT_EQ(call.At<std::int32_t>(124), row.year);
        EXPECT_EQ(call.At<std::int32_t>(128), row.month);
    }
}

struct RateKindCase {
    char rateType;
    bool byRatio;
};

const RateKindCase kRateKinds[] = {{'R', true}, {'A', false}, {'\0', false}};

TEST_F(Queries, FeeRateReply) {
    int requestId = 900;
    for (const RateKindCase& kind : kRateKinds) {
        SCOPED_TRACE(std::string("fee type ") + kind.rateType);
        NELOFeeRateRecord fee{};
        std::strcpy(fee.InvestorID, "FEE456789ABCDEF");
        std::strcpy(fee.ExchangeID, "EXCHANGE12345");
        std::strcpy(fee.InstrumentID, "cu2505");
        fee.FeeType = kind.rateType;
        fee.FeeRate = 0.5;
        fee.CloseFeeRate = 0.25;
        fee.CloseTodayFeeRate = 0.125;
        const Call call = Answer(NELOTradeMessageOf(NELOTradeMessage::InvestorFeeRateQuery), 35, ++requestId,
                                 std::vector<NELOFeeRateRecord>{fee});
        const std::size_t shift = kind.byRatio ? 0 : 8;
        RecordImage image(216);
        image.Char(31, '1').Text(32, "FIRM01").Text(43, "FEE456789ABC");
        image.Double(56 + shift, 0.5).Double(72 + shift, 0.25).Double(88 + shift, 0.125);
        image.Text(104, "EXCHANGE").Text(131, "cu2505");
        EXPECT_EQ(image.Differences(call.record), "");
    }
}

TEST_F(Queries, MarginRateReplies) {
    int requestId = 1000;
    for (const RateKindCase& kind : kRateKinds) {
        SCOPED_TRACE(std::string("margin type ") + kind.rateType);
        NELOMarginRateRecord rate{};
        std::strcpy(rate.InvestorID, "MRG456789ABCDEF");
        std::strcpy(rate.ExchangeID, "EXCHANGE12345");
        std::strcpy(rate.InstrumentID, "cu2505");
        rate.MarginRateType = kind.rateType;
        rate.LongMarginRate = 0.5;
        rate.ShortMarginRate = 0.25;
        const std::size_t shift = kind.byRatio ? 0 : 8;

        const Call investor = Answer(NELOTradeMessageOf(NELOTradeMessage::InvestorMarginRateQuery), 34, ++requestId,
                                     std::vector<NELOMarginRateRecord>{rate});
        RecordImage investorImage(208);
        investorImage.Char(31, '1').Text(32, "FIRM01").Text(43, "MRG456789ABC").Char(56, '1');
        investorImage.Double(64 + shift, 0.5).Double(80 + shift, 0.25).Text(100, "EXCHANGE").Text(126, "cu2505");
        EXPECT_EQ(investorImage.Differences(investor.record), "");

        rate.InvestorID[0] = '\0';  // exchange rows carry none
        const Call exchange = Answer(NELOTradeMessageOf(NELOTradeMessage::ExchangeMarginRateQuery), 49, ++requestId,
                                     std::vector<NELOMarginRateRecord>{rate});
        RecordImage exchangeImage(176);
        exchangeImage.Char(42, '1').Double(48 + shift, 0.5).Double(64 + shift, 0.25);
        exchangeImage.Text(80, "EXCHANGE").Text(89, "cu2505");
        EXPECT_EQ(exchangeImage.Differences(exchange.record), "");
    }
}

struct ProductTypeCase {
    char wireType;
    char exportedType;
};

const ProductTypeCase kProductTypes[] = {{'F', '1'}, {'O', '2'}, {'B', '4'}, {'D', '4'}, {'E', '4'}, {'S', '\0'}};

TEST_F(Queries, ProductReply) {
    int requestId = 1100;
    for (const ProductTypeCase& row : kProductTypes) {
        SCOPED_TRACE(std::string("product type ") + row.wireType);
        NELOProductRecord product{};
        std::strcpy(product.ExchangeID, "EXCHANGE12345");
        product.InstrumentType = row.wireType;
        std::strcpy(product.ProductID, "cu");
        std::strcpy(product.ProductName, "COPPER-FUTURES-NAME-X");  // 21 characters: 20 kept
        const Call call = Answer(NELOTradeMessageOf(NELOTradeMessage::ProductQuery), 37, ++requestId,
                                 std::vector<NELOProductRecord>{product});
        RecordImage image(312);
        image.Text(31, "COPPER-FUTURES-NAME-").Text(52, "EXCHANGE").Char(61, row.exportedType);
        image.Text(144, "cu").Text(225, "cu");
        EXPECT_EQ(image.Differences(call.record), "");
    }
}

TEST_F(Queries, ExchangeReply) {
    NELOExchangeRecord exchange{};
    std::strcpy(exchange.ExchangeID, "EXCHANGE12345");
    std::strcpy(exchange.ExchangeName, kGbkAllTraded);
    const Call call =
        Answer(NELOTradeMessageOf(NELOTradeMessage::ExchangeQuery), 36, 48, std::vector<NELOExchangeRecord>{exchange});
    RecordImage image(71);
    image.Text(0, "EXCHANGE").Text(9, kGbkAllTraded).Char(70, '0');
    EXPECT_EQ(image.Differences(call.record), "");
}

TEST_F(Queries, QuotationReplyPassesTheFirstLevelOnly) {
    NELOQuotRecord quot{};
    std::strcpy(quot.InstrumentID, "cu2505");
    std::strcpy(quot.ExchangeID, "EXCHANGE12345");
    quot.Price = 1.5;
    quot.PreSettle = 2.5;
    quot.PreClose = 3.5;
    quot.PreOI = 4;
    quot.OpenPrice = 5.5;
    quot.HighestPrice = 6.5;
    quot.LowestPrice = 7.5;
    quot.QtyTotal = (std::int64_t{1} << 32) + 8;  // only the low 32 bits are kept
    quot.Amount = 9.5;
    quot.OI = 10;
    quot.SettlePrice = 11.5;
    quot.HighLimit = 12.5;
    quot.LowLimit = 13.5;
    std::strcpy(quot.ModifyTime, "09:05:07");
    std::strcpy(quot.ModifyDate, "2025-03-14");
    quot.BidPrice = 14.5;
    quot.BidQty = 15;
    quot.AskPrice = 16.5;
    quot.AskQty = 17;
    quot.BidPrice2 = 99.0;  // deeper levels are not passed on
    quot.AskQty5 = 99;
    const Call call =
        Answer(NELOTradeMessageOf(NELOTradeMessage::QuotQuery), 39, 51, std::vector<NELOQuotRecord>{quot});
    RecordImage image(568);
    image.Text(0, "20250314").Text(40, "EXCHANGE").Double(80, 1.5).Double(88, 2.5).Double(96, 3.5);
    image.Double(104, 4.0).Double(112, 5.5).Double(120, 6.5).Double(128, 7.5).Int(136, 8).Double(144, 9.5);
    image.Double(152, 10.0).Double(160, 1.5).Double(168, 11.5).Double(176, 12.5).Double(184, 13.5);
    image.Text(208, "09:05:07").Double(224, 14.5).Int(232, 15).Double(240, 16.5).Int(248, 17);
    image.Text(392, "20250314").Text(401, "cu2505");
    EXPECT_EQ(image.Differences(call.record), "");
}

TEST_F(Queries, PositionDetailReplyAtTheGivenOffsets) {
    int requestId = 1200;
    for (char bsFlag : {'B', 'S'}) {
        NELOPosiDetailRecord detail{};
        std::strcpy(detail.MatchID, "MATCH01234567890123456789");
        detail.BSFlag = bsFlag;
        std::strcpy(detail.CreateTradeDate, "2025-03-12");
        detail.QtyLeft = 3;
        detail.CreatePrice = 70100.5;
        std::strcpy(detail.ExchangeID, "EXCHANGE12345");
        std::strcpy(detail.InstrumentID, "cu2505");
        detail.Margin = 1234.5;
        const Call call = Answer(NELOTradeMessageOf(NELOTradeMessage::PosiDetailQuery), 42, ++requestId,
                                 std::vector<NELOPosiDetailRecord>{detail});
        ASSERT_EQ(call.record.size(), 448u);
        EXPECT_EQ(call.Text(31), "FIRM01");
        EXPECT_EQ(call.Text(42), "INV123456789");
        EXPECT_EQ(call.Char(55), '1');
        EXPECT_EQ(call.Char(56), bsFlag == 'B' ? '0' : '1');
        EXPECT_EQ(call.Text(57), "20250312");
        EXPECT_EQ(call.Text(66), "MATCH012345678901234");
        EXPECT_EQ(call.At<std::int32_t>(88), 3);
        EXPECT_EQ(call.At<double>(96), 70100.5);
        EXPECT_EQ(call.Text(104), "20250314");
        EXPECT_EQ(call.Char(120), '0');
        EXPECT_EQ(call.Text(152), "EXCHANGE");
        EXPECT_EQ(call.Text(286), "cu2505");
        const NarvPosiDetailRecord& record = call.As<NarvPosiDetailRecord>();
        EXPECT_EQ(record.Margin, 1234.5);
    }
}

// Order and trade query rows are filled as the pushes are, trading day and status text included.
TEST_F(Queries, OrderAndTradeRowsAreFilledAsPushes) {
    NELOOrderRecord order{};
    order.OrderStatus = 'C';
    order.Qty = 5;
    order.QtyLeft = 5;
    std::strcpy(order.InvestorID, "INV1");
    const Call orderCall =
        Answer(NELOTradeMessageOf(NELOTradeMessage::OrderQuery), 28, 40, std::vector<NELOOrderRecord>{order});
    EXPECT_EQ(orderCall.Text(0), "FIRM01");
    EXPECT_EQ(orderCall.Text(109), "20250314");
    EXPECT_EQ(orderCall.Text(280), "20250314");
    EXPECT_EQ(orderCall.Char(318), '5');
    EXPECT_EQ(orderCall.Text(439), kGbkCancelled);

    NELOTradeRecord trade{};
    std::strcpy(trade.OrderID, "42");
    trade.BSFlag = 'S';
    const Call tradeCall =
        Answer(NELOTradeMessageOf(NELOTradeMessage::TradeQuery), 29, 41, std::vector<NELOTradeRecord>{trade});
    EXPECT_EQ(tradeCall.Text(0), "FIRM01");
    EXPECT_EQ(tradeCall.Char(114), '1');
    EXPECT_EQ(tradeCall.Text(296), "20250314");
    EXPECT_EQ(tradeCall.At<std::int32_t>(312), 42);
}

}  // namespace
}  // namespace traderapi_test
