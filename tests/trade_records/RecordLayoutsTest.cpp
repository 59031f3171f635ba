// Every field table of the query and account records, checked against the dictionary and pushed through
// the codec. The tables are typed in by hand, so the faults looked for here are data-entry faults: a
// storage size that does not match its row, a slot pointing at the wrong member, two slots on one member.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "APIPackage.h"
#include "NELOAccountRecords.h"
#include "NELOQueryRecords.h"
#include "NELOTradeCatalog.h"

namespace {

struct NamedLayout {
    const char* name;
    const TZORecordLayout* layout;
};

void PrintTo(const NamedLayout& entry, std::ostream* os) { *os << entry.name; }

std::string LayoutName(const testing::TestParamInfo<NamedLayout>& info) { return info.param.name; }

#define NAMED_LAYOUT(name) \
    NamedLayout { #name, &kNELO##name##Layout }

const NamedLayout kQueryLayouts[] = {
    NAMED_LAYOUT(QueryKey),
    NAMED_LAYOUT(RateKey),
    NAMED_LAYOUT(ProductKey),
    NAMED_LAYOUT(ExchangeKey),
    NAMED_LAYOUT(Order),
    NAMED_LAYOUT(Trade),
    NAMED_LAYOUT(Quot),
    NAMED_LAYOUT(Posi),
    NAMED_LAYOUT(PosiDetail),
    NAMED_LAYOUT(Fund),
    NAMED_LAYOUT(Instrument),
    NAMED_LAYOUT(Product),
    NAMED_LAYOUT(Exchange),
    NAMED_LAYOUT(FeeRate),
    NAMED_LAYOUT(InvestorMarginRate),
    NAMED_LAYOUT(ExchangeMarginRate),
};

const NamedLayout kAccountLayouts[] = {
    NAMED_LAYOUT(DateRangeKey),    NAMED_LAYOUT(HisKey),          NAMED_LAYOUT(HisPosiKey),
    NAMED_LAYOUT(Bulletin),        NAMED_LAYOUT(Notice),          NAMED_LAYOUT(FundTransferReq),
    NAMED_LAYOUT(FundTransferRsp), NAMED_LAYOUT(FundTransferNty), NAMED_LAYOUT(FundIODetail),
    NAMED_LAYOUT(Report),          NAMED_LAYOUT(AccountBindReq),  NAMED_LAYOUT(AccountBindRsp),
    NAMED_LAYOUT(AccountBind),
};

// Gives every slot a value of its row's type that no other slot of the record has, texts at their full
// width, so that a value landing in the wrong member or cut short shows up after a round trip.
void FillDistinct(const TZORecordLayout& layout, void* record) {
    auto* base = static_cast<unsigned char*>(record);
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        const TZOFieldDef& row = *slot.field;
        unsigned char* storage = base + slot.offset;
        switch (row.type) {
            case 'S': {
                const auto value = static_cast<std::int16_t>(-300 - static_cast<int>(i));
                std::memcpy(storage, &value, sizeof value);
                break;
            }
            case 'I': {
                const auto value = static_cast<std::int32_t>(-70000 - static_cast<std::int32_t>(i));
                std::memcpy(storage, &value, sizeof value);
                break;
            }
            case 'L': {
                const std::int64_t value = (std::int64_t{1} << 40) + i;
                std::memcpy(storage, &value, sizeof value);
                break;
            }
            case 'D': {
                const double value = 1000.25 + i;
                std::memcpy(storage, &value, sizeof value);
                break;
            }
            default:
                if (TZOIsSingleChar(row)) {
                    *storage = static_cast<unsigned char>('A' + i % 26);
                } else {
                    for (std::uint32_t k = 0; k < row.width; ++k) {
                        storage[k] = static_cast<unsigned char>('a' + (i + k) % 26);
                    }
                    storage[row.width] = '\0';
                }
        }
    }
}

class RecordLayout : public testing::TestWithParam<NamedLayout> {};

TEST_P(RecordLayout, StorageMatchesTheDictionary) { EXPECT_EQ(TZOCheckLayout(*GetParam().layout), nullptr); }

// Members are declared in field order, so the slots must climb through the record without sharing bytes.
TEST_P(RecordLayout, SlotsFollowTheMembersWithoutOverlap) {
    const TZORecordLayout& layout = *GetParam().layout;
    ASSERT_GT(layout.count, 0u);
    for (std::uint32_t i = 1; i < layout.count; ++i) {
        const TZOFieldSlot& previous = layout.slots[i - 1];
        EXPECT_GE(layout.slots[i].offset, previous.offset + previous.size)
            << layout.slots[i].field->name << " after " << previous.field->name;
    }
}

TEST_P(RecordLayout, GroupRoundTripsWithinOneMessage) {
    const TZORecordLayout& layout = *GetParam().layout;
    std::vector<unsigned char> record(layout.recordSize, 0);
    FillDistinct(layout, record.data());

    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize);
    CTZOPackage writer;
    writer.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
    ASSERT_GT(TZOAddRecord(writer, TZOField::ApiBody.id, layout, record.data()), 0);

    CTZOPackage reader;
    reader.Attach(buffer.data(), 0, writer.Length(), nullptr);
    std::vector<unsigned char> decoded(layout.recordSize, 0);
    ASSERT_EQ(TZOReadGroup(reader, TZOField::ApiBody.id, layout, decoded.data()), 0);
    EXPECT_EQ(std::memcmp(decoded.data(), record.data(), layout.recordSize), 0);
}

INSTANTIATE_TEST_SUITE_P(Query, RecordLayout, testing::ValuesIn(kQueryLayouts), LayoutName);
INSTANTIATE_TEST_SUITE_P(Account, RecordLayout, testing::ValuesIn(kAccountLayouts), LayoutName);

struct NamedService {
    const char* name;
    NELOTradeMessage request;
    bool listReply;  // false: one record in a group
};

void PrintTo(const NamedService& entry, std::ostream* os) { *os << entry.name; }

std::string ServiceName(const testing::TestParamInfo<NamedService>& info) { return info.param.name; }

#define LIST_SERVICE(name) \
    NamedService { #name, NELOTradeMessage::name, true }
#define SINGLE_SERVICE(name) \
    NamedService { #name, NELOTradeMessage::name, false }

const NamedService kQueryServices[] = {
    LIST_SERVICE(QuotQuery),
    LIST_SERVICE(OrderQuery),
    LIST_SERVICE(TradeQuery),
    LIST_SERVICE(PosiQuery),
    LIST_SERVICE(FundQuery),
    LIST_SERVICE(InstrumentQuery),
    LIST_SERVICE(PosiDetailQuery),
    LIST_SERVICE(ProductQuery),
    LIST_SERVICE(ExchangeQuery),
    LIST_SERVICE(InvestorFeeRateQuery),
    LIST_SERVICE(InvestorMarginRateQuery),
    LIST_SERVICE(ExchangeMarginRateQuery),
};

const NamedService kAccountServices[] = {
    LIST_SERVICE(BulletinQuery),      LIST_SERVICE(NoticeQuery),      SINGLE_SERVICE(ElectronicFundIO),
    LIST_SERVICE(FundIODetailQuery),  LIST_SERVICE(ReportQuery),      LIST_SERVICE(HisOrderQuery),
    LIST_SERVICE(HisTradeQuery),      LIST_SERVICE(HisBulletinQuery), LIST_SERVICE(HisNoticeQuery),
    SINGLE_SERVICE(AccountBind),      LIST_SERVICE(AccountBindQuery), LIST_SERVICE(HisFundQuery),
    LIST_SERVICE(HisPosiDetailQuery),
};

class ServiceBinding : public testing::TestWithParam<NamedService> {};

TEST_P(ServiceBinding, RequestAndReplyAreContainersOfTheRightKind) {
    const NELOTradeMessageDef& request = NELOTradeMessageOf(GetParam().request);
    ASSERT_EQ(request.direction, NELODirection::ToServer);
    EXPECT_EQ(request.body.field->flags, kTZOPackageFlag) << request.body.field->name;
    const NELOTradeMessageDef* reply = NELOTradeReplyTo(request);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->serviceNo, request.serviceNo + 1);
    EXPECT_TRUE(reply->withRspInfo);
    EXPECT_EQ(reply->body.field->flags, GetParam().listReply ? kTZORecordSetFlag : kTZOPackageFlag)
        << reply->body.field->name;
    EXPECT_EQ(reply->body.IsList(), GetParam().listReply);
    ASSERT_NE(reply->body.record, nullptr);
    EXPECT_EQ(TZOCheckLayout(*reply->body.record->layout), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Query, ServiceBinding, testing::ValuesIn(kQueryServices), ServiceName);
INSTANTIATE_TEST_SUITE_P(Account, ServiceBinding, testing::ValuesIn(kAccountServices), ServiceName);

// The whole table: every body is a container whose record fits the dictionary, every request is answered
// under the next ServiceNo with the reply information first, and every push travels in a group.
TEST(TradeMessageTable, BodiesAreContainersAndEveryRequestHasItsReply) {
    for (const NELOTradeMessageDef& message : kNELOTradeMessages) {
        SCOPED_TRACE(message.meaning);
        if (message.body.field != nullptr) {
            ASSERT_NE(message.body.record, nullptr);
            EXPECT_TRUE(message.body.field->flags == kTZOPackageFlag || message.body.IsList());
            EXPECT_EQ(TZOCheckLayout(*message.body.record->layout), nullptr);
        }
        if (message.direction != NELODirection::ToServer) continue;
        const NELOTradeMessageDef* reply = NELOTradeReplyTo(message);
        ASSERT_NE(reply, nullptr);
        EXPECT_EQ(reply->direction, NELODirection::ToClient);
        EXPECT_TRUE(reply->withRspInfo);
        EXPECT_NE(reply->deliver, nullptr);
    }
    for (const NELOTradePushDef& push : kNELOTradePushes) {
        SCOPED_TRACE(push.meaning);
        EXPECT_EQ(push.body.field->flags, kTZOPackageFlag);
        EXPECT_NE(push.deliver, nullptr);
        const NELOTradeMessageDef* flow = NELOFindTradeReceived(push.flow);
        ASSERT_NE(flow, nullptr);
        EXPECT_TRUE(flow->isFlowPush);
    }
}

}  // namespace
