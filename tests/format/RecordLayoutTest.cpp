#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TZORecordLayout.h"

namespace {

struct Order {
    char InvestorID[16];
    char BSFlag;
    double Price;
    std::int32_t Qty;
    char ExchangeID[17];
};

const TZOFieldSlot kOrderSlots[] = {
    TZO_MEMBER(Order, InvestorID),
    TZO_MEMBER(Order, BSFlag),
    TZO_MEMBER(Order, Price),
    TZO_MEMBER(Order, Qty),
    TZO_SLOT(Order, ExchangeID, ExchangeID),
};
const TZORecordLayout kOrderLayout(kOrderSlots, sizeof(Order));

TEST(RecordLayout, GroupRoundTripsThroughAPackage) {
    Order order{};
    std::strcpy(order.InvestorID, "INV9");
    order.BSFlag = 'S';
    order.Price = 12.25;
    order.Qty = 3;
    std::strcpy(order.ExchangeID, "SHFE");
    std::vector<std::uint8_t> buffer(256);
    CTZOPackage writer;
    writer.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
    ASSERT_GT(TZOAddRecord(writer, TZOField::InputOrder.id, kOrderLayout, &order), 0);

    CTZOPackage reader;
    reader.Attach(buffer.data(), 0, writer.Length(), nullptr);
    Order decoded{};
    ASSERT_EQ(TZOReadGroup(reader, TZOField::InputOrder.id, kOrderLayout, &decoded), 0);
    EXPECT_EQ(std::memcmp(&decoded, &order, sizeof order), 0);
    EXPECT_EQ(TZOReadGroup(reader, TZOField::Order.id, kOrderLayout, &decoded), -1);
}

TEST(RecordLayout, CheckFindsStorageThatDoesNotFitItsRow) {
    EXPECT_EQ(TZOCheckLayout(kOrderLayout), nullptr);
    struct Wrong {
        char InvestorID[15];
        std::int16_t Qty;
        char Order;
    };
    const TZOFieldSlot tooShortText[] = {TZO_MEMBER(Wrong, InvestorID)};
    const TZOFieldSlot wrongNumber[] = {TZO_MEMBER(Wrong, Qty)};
    const TZOFieldSlot container[] = {TZO_MEMBER(Wrong, Order)};
    EXPECT_STREQ(TZOCheckLayout(TZORecordLayout(tooShortText, sizeof(Wrong))), "InvestorID");
    EXPECT_STREQ(TZOCheckLayout(TZORecordLayout(wrongNumber, sizeof(Wrong))), "Qty");
    EXPECT_STREQ(TZOCheckLayout(TZORecordLayout(container, sizeof(Wrong))), "Order");
}

}  // namespace
