#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TZOByteOrder.h"
#include "TZOPackage.h"

namespace {

// One member of every kind the codec knows.
struct Sample {
    std::int16_t rspNo;
    std::int32_t qty;
    double price;
    std::int64_t total;
    char bsFlag;
    char investor[16];
};

TZOBindingList Bind(Sample& s, std::vector<TZOFieldBinding>& store) {
    store = {
        {&TZOField::RspNo, &s.rspNo, sizeof s.rspNo, 0, nullptr, 0, 0, 0},
        {&TZOField::Qty, &s.qty, sizeof s.qty, 0, nullptr, 0, 0, 0},
        {&TZOField::Price, &s.price, sizeof s.price, 0, nullptr, 0, 0, 0},
        {&TZOField::QtyTotal, &s.total, sizeof s.total, 0, nullptr, 0, 0, 0},
        {&TZOField::BSFlag, &s.bsFlag, sizeof s.bsFlag, 0, nullptr, 0, 0, 0},
        {&TZOField::InvestorID, s.investor, sizeof s.investor, 0, nullptr, 0, 0, 0},
    };
    return {store.data(), static_cast<std::uint32_t>(store.size())};
}

Sample MakeSample() {
    Sample s{};
    s.rspNo = -2;
    s.qty = 70000;
    s.price = 3512.5;
    s.total = 0x0102030405060708LL;
    s.bsFlag = 'B';
    std::strcpy(s.investor, "INV001");
    return s;
}

std::vector<std::uint8_t> Encode(Sample s) {
    std::vector<TZOFieldBinding> store;
    std::vector<std::uint8_t> out(512);
    const int n = EncodeFields(Bind(s, store), out.data(), static_cast<std::uint32_t>(out.size()));
    EXPECT_GT(n, 0);
    out.resize(n > 0 ? n : 0);
    return out;
}

void PutField(std::vector<std::uint8_t>& out, std::uint16_t id, const std::vector<std::uint8_t>& value,
              std::uint16_t extension = 0) {
    std::uint8_t header[4];
    tzo_wire::StoreU16(header, id);
    tzo_wire::StoreU16(header + 2, extension);
    out.insert(out.end(), header, header + 4);
    out.insert(out.end(), extension, 0xEE);
    std::uint8_t length[4];
    tzo_wire::StoreU32(length, static_cast<std::uint32_t>(value.size()));
    out.insert(out.end(), length, length + 4);
    out.insert(out.end(), value.begin(), value.end());
}

TEST(FieldCodec, EncodesEveryTypeBigEndianInBindingOrder) {
    const std::vector<std::uint8_t> bytes = Encode(MakeSample());
    std::vector<std::uint8_t> expected;
    PutField(expected, 1026, {0xFF, 0xFE});
    PutField(expected, 1048, {0x00, 0x01, 0x11, 0x70});
    PutField(expected, 1047, {0x40, 0xAB, 0x71, 0x00, 0x00, 0x00, 0x00, 0x00});
    PutField(expected, 1087, {1, 2, 3, 4, 5, 6, 7, 8});
    PutField(expected, 1045, {'B'});
    PutField(expected, 1034, {'I', 'N', 'V', '0', '0', '1'});
    EXPECT_EQ(bytes, expected);
}

TEST(FieldCodec, RoundTripRestoresEveryMember) {
    const Sample original = MakeSample();
    const std::vector<std::uint8_t> bytes = Encode(original);
    Sample decoded{};
    std::vector<TZOFieldBinding> store;
    ASSERT_EQ(DecodeFields(Bind(decoded, store), bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_EQ(std::memcmp(&decoded, &original, sizeof decoded), 0);
}

TEST(FieldCodec, EmptyTextAndNulCharacterStillTravel) {
    Sample s = MakeSample();
    s.investor[0] = 0;
    s.bsFlag = 0;
    const std::vector<std::uint8_t> bytes = Encode(s);
    std::vector<std::uint8_t> tail;
    PutField(tail, 1045, {0});
    PutField(tail, 1034, {});
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - tail.size()));

    Sample decoded{};
    std::strcpy(decoded.investor, "KEEP");
    std::vector<TZOFieldBinding> store;
    ASSERT_EQ(DecodeFields(Bind(decoded, store), bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_STREQ(decoded.investor, "KEEP") << "an empty value leaves the storage as it was";
}

TEST(FieldCodec, TextIsCutToTheRowWidthAndToTheStorage) {
    Sample s = MakeSample();
    std::memset(s.investor, 'A', sizeof s.investor);  // no terminator at all
    const std::vector<std::uint8_t> bytes = Encode(s);
    std::vector<std::uint8_t> tail;
    PutField(tail, 1034, std::vector<std::uint8_t>(15, 'A'));
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - tail.size()));

    char small[6] = "zzzzz";
    const TZOFieldBinding binding{&TZOField::InvestorID, small, sizeof small, 0, nullptr, 0, 0, 0};
    ASSERT_EQ(DecodeFields({&binding, 1}, bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_STREQ(small, "AAAAA");
}

TEST(FieldCodec, ExtensionBytesAreSkipped) {
    std::vector<std::uint8_t> bytes;
    PutField(bytes, 1048, {0, 0, 0, 9}, 5);
    PutField(bytes, 1034, {'X', 'Y'}, 3);
    Sample decoded{};
    std::vector<TZOFieldBinding> store;
    ASSERT_EQ(DecodeFields(Bind(decoded, store), bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_EQ(decoded.qty, 9);
    EXPECT_STREQ(decoded.investor, "XY");

    CTZOPackage reader;
    reader.Attach(bytes.data(), 0, static_cast<std::uint32_t>(bytes.size()), nullptr);
    EXPECT_EQ(reader.Find(1034), 17);
}

TEST(FieldCodec, FieldsInReverseOrderAreAllFound) {
    const Sample original = MakeSample();
    std::vector<std::uint8_t> bytes;
    PutField(bytes, 1034, {'I', 'N', 'V', '0', '0', '1'});
    PutField(bytes, 1045, {'B'});
    PutField(bytes, 1087, {1, 2, 3, 4, 5, 6, 7, 8});
    PutField(bytes, 1047, {0x40, 0xAB, 0x71, 0x00, 0x00, 0x00, 0x00, 0x00});
    PutField(bytes, 1048, {0x00, 0x01, 0x11, 0x70});
    PutField(bytes, 1026, {0xFF, 0xFE});
    Sample decoded{};
    std::vector<TZOFieldBinding> store;
    ASSERT_EQ(DecodeFields(Bind(decoded, store), bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_EQ(std::memcmp(&decoded, &original, sizeof decoded), 0);
}

TEST(FieldCodec, FirstOfTwoFieldsWithTheSameIdWins) {
    std::vector<std::uint8_t> bytes;
    PutField(bytes, 1637, {0, 0, 0, 5});          // AskQty5
    PutField(bytes, 1637, {'S', 'H', 'F', 'E'});  // ExchangeID
    std::int32_t askQty5 = 0;
    const TZOFieldBinding binding{&TZOField::AskQty5, &askQty5, 4, 0, nullptr, 0, 0, 0};
    ASSERT_EQ(DecodeFields({&binding, 1}, bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
    EXPECT_EQ(askQty5, 5);
}

struct MalformedCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int expected;
};

TEST(FieldCodec, DecodeRefusesMalformedInput) {
    std::vector<std::uint8_t> trailing;
    PutField(trailing, 1048, {0, 0, 0, 1});
    trailing.insert(trailing.end(), {0x04, 0x22, 0});
    std::vector<std::uint8_t> shortNumber;
    PutField(shortNumber, 1048, {0, 1});
    PutField(shortNumber, 1034, {'A'});
    std::vector<std::uint8_t> longNumber;
    PutField(longNumber, 1048, {0, 0, 0, 1, 0, 0});
    std::vector<std::uint8_t> valuePastEnd;
    PutField(valuePastEnd, 1034, {'A', 'B', 'C'});
    valuePastEnd.pop_back();
    const MalformedCase cases[] = {
        {"empty package", {}, -1},
        {"shorter than a header", {0x04, 0x18, 0, 0, 0}, -1},
        {"trailing bytes after the last field", trailing, -1},
        {"number shorter than its type", shortNumber, -1},
        {"number longer than its type", longNumber, -1},
        {"value past the end", valuePastEnd, -1},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.what);
        Sample decoded{};
        std::vector<TZOFieldBinding> store;
        // An exact-size heap copy lets the address sanitizer see any read past the end.
        std::vector<std::uint8_t> exact(c.bytes);
        EXPECT_EQ(DecodeFields(Bind(decoded, store), exact.data(), static_cast<std::uint32_t>(exact.size())),
                  c.expected);
    }
    Sample decoded{};
    std::vector<TZOFieldBinding> store;
    const TZOBindingList none{store.data(), 0};
    EXPECT_EQ(DecodeFields(none, nullptr, 0), 0) << "no bindings, nothing to do";
    (void)decoded;
}

TEST(FieldCodec, EveryTruncatedPrefixIsRefusedOrDecodesOnlyWholeFields) {
    const Sample original = MakeSample();
    const std::vector<std::uint8_t> bytes = Encode(original);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[cut + 1]);
        std::memcpy(exact.get(), bytes.data(), cut);
        Sample decoded{};
        std::vector<TZOFieldBinding> store;
        if (DecodeFields(Bind(decoded, store), exact.get(), static_cast<std::uint32_t>(cut)) == 0) {
            // Whatever was filled must be the original value, never a half-read one.
            if (decoded.qty) {
                EXPECT_EQ(decoded.qty, original.qty);
            }
            if (decoded.price != 0) {
                EXPECT_EQ(decoded.price, original.price);
            }
            if (decoded.investor[0]) {
                EXPECT_STREQ(decoded.investor, original.investor);
            }
        }
    }
}

TEST(FieldCodec, EncodeNeverWritesPastItsRoom) {
    const std::vector<std::uint8_t> full = Encode(MakeSample());
    for (std::uint32_t room = 0; room < full.size(); ++room) {
        SCOPED_TRACE(room);
        std::vector<std::uint8_t> out(room + 16, 0xA5);
        Sample s = MakeSample();
        std::vector<TZOFieldBinding> store;
        EXPECT_EQ(EncodeFields(Bind(s, store), out.data(), room), -1);
        for (std::size_t i = room; i < out.size(); ++i) ASSERT_EQ(out[i], 0xA5);
    }
}

TEST(PackageFind, SearchesCircularlyAndLeavesTheCursorOnAMiss) {
    std::vector<std::uint8_t> bytes;
    PutField(bytes, 1, {1});
    PutField(bytes, 2, {2, 2});
    PutField(bytes, 3, {3, 3, 3});
    CTZOPackage reader;
    reader.Attach(bytes.data(), 0, static_cast<std::uint32_t>(bytes.size()), nullptr);
    EXPECT_EQ(reader.Find(2), 9);
    EXPECT_EQ(reader.Find(3), 19);
    EXPECT_EQ(reader.Find(1), 0) << "wraps around from the last field";
    EXPECT_EQ(reader.Find(2), 9);
    EXPECT_EQ(reader.Find(77), -1);
    EXPECT_EQ(reader.Cursor(), 9u);

    CTZOPackage detached;
    EXPECT_EQ(detached.Find(1), -1);
}

TEST(PackageWriter, NestedLengthsAreCurrentAfterEveryWrite) {
    std::vector<std::uint8_t> buffer(256, 0);
    CTZOPackage outer;
    outer.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
    CTZOPackage middle, inner;
    ASSERT_EQ(outer.OpenField(100, &middle), 0);
    ASSERT_EQ(middle.OpenField(200, &inner), 0);
    const auto valueLength = [&](std::uint32_t headerAt) { return tzo_wire::LoadU32(buffer.data() + headerAt + 4); };
    for (int i = 1; i <= 3; ++i) {
        const std::int32_t qty = i;
        const TZOFieldBinding binding{&TZOField::Qty, const_cast<std::int32_t*>(&qty), 4, 0, nullptr, 0, 0, 0};
        ASSERT_EQ(inner.AddStruct({&binding, 1}, 300), 12);
        EXPECT_EQ(valueLength(16), 12u);         // the first group
        EXPECT_EQ(valueLength(8), 20u * i);      // inner
        EXPECT_EQ(valueLength(0), 8 + 20u * i);  // middle
        EXPECT_EQ(outer.Length(), 16 + 20u * i);
    }
}

TEST(PackageWriter, OpenFieldWithoutRoomWritesNothing) {
    std::vector<std::uint8_t> buffer(7, 0xA5);
    CTZOPackage writer;
    writer.Attach(buffer.data(), 7, 0, nullptr);
    CTZOPackage child;
    EXPECT_EQ(writer.OpenField(1, &child), -1);
    EXPECT_FALSE(child.IsAttached());
    EXPECT_EQ(writer.AddPackage(1), nullptr);
    EXPECT_EQ(writer.AppendRaw("12345678", 8), -1);
    EXPECT_EQ(std::vector<std::uint8_t>(7, 0xA5), buffer);
    EXPECT_EQ(writer.Length(), 0u);
}

TEST(RecordSet, RecordsOfDifferentLengthsAreWalkedInOrder) {
    std::vector<std::uint8_t> buffer(512, 0);
    CTZOPackage writer;
    writer.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
    auto set = writer.AddRecordSet(1154);
    ASSERT_TRUE(set->IsAttached());
    Sample first = MakeSample();
    Sample second = MakeSample();
    std::strcpy(second.investor, "A-LONGER-ID");
    std::vector<TZOFieldBinding> store;
    ASSERT_EQ(set->AddRecord(Bind(first, store)), 0);
    ASSERT_EQ(set->AddRecord(Bind(second, store)), 0);
    EXPECT_EQ(writer.Length(), 8 + set->Length());
    EXPECT_EQ(tzo_wire::LoadU32(buffer.data() + 4), set->Length());

    CTZOPackage reader;
    reader.Attach(buffer.data(), 0, writer.Length(), nullptr);
    auto list = reader.GetRecordSet(1154);
    std::vector<std::string> investors;
    while (list->NextRecord()) {
        Sample row{};
        ASSERT_EQ(DecodeFields(Bind(row, store), list->RecordData(), list->RecordLength()), 0);
        investors.push_back(row.investor);
    }
    EXPECT_EQ(investors, (std::vector<std::string>{"INV001", "A-LONGER-ID"}));
}

TEST(RecordSet, EmptyOrBrokenSetsYieldNoRecord) {
    std::vector<std::uint8_t> empty;
    PutField(empty, 1154, {});
    std::vector<std::uint8_t> broken;
    PutField(broken, 1154, {0, 0, 0, 50, 1, 2});
    for (auto* bytes : {&empty, &broken}) {
        CTZOPackage reader;
        reader.Attach(bytes->data(), 0, static_cast<std::uint32_t>(bytes->size()), nullptr);
        CTZORecordSet set;
        ASSERT_EQ(reader.GetRecordSet(1154, &set), 0);
        EXPECT_FALSE(set.NextRecord());
    }
    CTZOPackage reader;
    reader.Attach(empty.data(), 0, static_cast<std::uint32_t>(empty.size()), nullptr);
    auto missing = reader.GetRecordSet(999);
    EXPECT_FALSE(missing->IsAttached());
    EXPECT_FALSE(missing->NextRecord());
}

}  // namespace
