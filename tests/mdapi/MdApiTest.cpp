// The market-data library as an application uses it: the exported header and the shared library,
// against a scripted front on loopback (one fixture builds the object from the core library instead, to
// set its clock). The front side writes and reads the wire by dictionary rows of
// its own, so the library's field tables are checked rather than reused.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NarvSqelMdApi.h"
#include "SqelMdApiImpl.h"
#include "support/FixedClock.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;

// ---------------------------------------------------------------------------------------------------
// The front's side of the wire

// One field as the server writes it: a dictionary row and the value in host order.
class WireField {
public:
    static WireField Text(const TZOFieldDef& row, const std::string& text) {
        WireField f(row, row.width + 1);
        std::memcpy(f.storage_.data(), text.data(), std::min<std::size_t>(text.size(), row.width));
        return f;
    }
    static WireField Char(const TZOFieldDef& row, char c) { return Number(row, c); }
    static WireField Int16(const TZOFieldDef& row, std::int16_t v) { return Number(row, v); }
    static WireField Int32(const TZOFieldDef& row, std::int32_t v) { return Number(row, v); }
    static WireField Int64(const TZOFieldDef& row, std::int64_t v) { return Number(row, v); }
    static WireField Double(const TZOFieldDef& row, double v) { return Number(row, v); }

    TZOFieldBinding Binding() {
        return {&row_, storage_.data(), static_cast<std::uint32_t>(storage_.size()), 0, nullptr, 0, 0, 0};
    }

private:
    WireField(const TZOFieldDef& row, std::size_t size) : row_(row), storage_(size, 0) {}
    template <class T>
    static WireField Number(const TZOFieldDef& row, T v) {
        WireField f(row, sizeof v);
        std::memcpy(f.storage_.data(), &v, sizeof v);
        return f;
    }

    const TZOFieldDef& row_;
    std::vector<std::uint8_t> storage_;
};

// Adds the fields, in the given order, as one group.
int AddGroup(CAPIPackage& p, const TZOFieldDef& group, std::vector<WireField> fields) {
    std::vector<TZOFieldBinding> bindings;
    for (WireField& f : fields) bindings.push_back(f.Binding());
    return p.AddStruct({bindings.data(), static_cast<std::uint32_t>(bindings.size())}, group.id);
}

int AddRspInfo(CAPIPackage& p, std::int16_t code, const std::string& text) {
    return AddGroup(p, TZOField::RspInfo,
                    {WireField::Int16(TZOField::RspNo, code), WireField::Text(TZOField::RspDesc, text)});
}

// The raw value of field `row` inside group `group` of a received message; nullopt-like empty flag.
struct FieldValue {
    bool present = false;
    std::vector<std::uint8_t> bytes;
    std::string Text() const {
        std::string s(bytes.begin(), bytes.end());
        return s.substr(0, s.find('\0'));
    }
};

FieldValue ReadField(ReceivedMessage& message, const TZOFieldDef& group, const TZOFieldDef& row) {
    FieldValue out;
    CTZOPackage body;
    if (message.package.FindField(group.id, &body) != 0) return out;
    CTZOPackage field;
    if (body.FindField(row.id, &field) != 0) return out;
    out.present = true;
    out.bytes.assign(field.Data(), field.Data() + field.Length());
    return out;
}

// ---------------------------------------------------------------------------------------------------
// The application's side

template <class Record>
struct SeenReply {
    bool hasRecord = false;
    Record record{};
    bool hasInfo = false;
    NarvRspInfoRecord info{};
    int requestId = 0;
    bool last = false;
};

class RecordingMdSpi final : public CNarvSqelMdSpi, public CWaitable {
public:
    int connects = 0;
    std::vector<int> disconnects;
    std::vector<SeenReply<NarvLoginRspRecord>> logins;
    std::vector<SeenReply<NarvLogoutRecord>> logouts;
    std::vector<SeenReply<NarvQuotInstrumentRecord>> subscribes;
    std::vector<SeenReply<NarvQuotInstrumentRecord>> unsubscribes;
    std::vector<NarvDepthQuoteRecord> quotes;

    void OnConnected() override {
        Note([&] { ++connects; });
    }
    void OnDisconnected(int reason) override {
        Note([&] { disconnects.push_back(reason); });
    }
    void OnLoginRsp(const NarvLoginRspRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Keep(logins, r, i, id, last);
    }
    void OnLogoutRsp(const NarvLogoutRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Keep(logouts, r, i, id, last);
    }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* r, const NarvRspInfoRecord* i, int id, bool last) override {
        Keep(subscribes, r, i, id, last);
    }
    void OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord* r, const NarvRspInfoRecord* i, int id,
                              bool last) override {
        Keep(unsubscribes, r, i, id, last);
    }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* r) override {
        Note([&] { quotes.push_back(*r); });
    }

private:
    template <class Record>
    void Keep(std::vector<SeenReply<Record>>& into, const Record* r, const NarvRspInfoRecord* i, int id, bool last) {
        SeenReply<Record> seen;
        seen.hasRecord = r != nullptr;
        if (r) std::memcpy(&seen.record, r, sizeof *r);
        seen.hasInfo = i != nullptr;
        if (i) std::memcpy(&seen.info, i, sizeof *i);
        seen.requestId = id;
        seen.last = last;
        Note([&] { into.push_back(seen); });
    }
};

struct ReleaseApi {
    void operator()(CNarvSqelMdApi* api) const { api->Release(); }
};
using ApiPtr = std::unique_ptr<CNarvSqelMdApi, ReleaseApi>;

ApiPtr CreateApi() { return ApiPtr(CNarvSqelMdApi::CreateSqelMdApi("", false, false)); }

// Texts longer than their member are cut on purpose by some tests; the member stays terminated.
template <std::size_t N>
void CopyCut(char (&to)[N], const char* text) {
    std::memcpy(to, text, strnlen(text, N - 1));
}

NarvLoginReqRecord MakeLoginReq(const char* firm, const char* investor, const char* password) {
    NarvLoginReqRecord r{};
    CopyCut(r.FirmID, firm);
    CopyCut(r.InvestorID, investor);
    CopyCut(r.InvestorPassword, password);
    return r;
}

bool IsZero(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    return std::all_of(b, b + n, [](std::uint8_t x) { return x == 0; });
}

// ---------------------------------------------------------------------------------------------------
// Without a connection

TEST(MdApiOffline, VersionIsTheLibrarysOwn) { EXPECT_STREQ(CNarvSqelMdApi::GetApiVersion(), "6.5.1"); }

// Positions the library does not provide answer -3 and nothing else; 5 and 6 accept anything.
TEST(MdApiOffline, PositionsNotProvidedReturnMinusThree) {
    ApiPtr api = CreateApi();
    const char* ids[] = {"cu2501"};
    struct Case {
        const char* name;
        std::function<int()> call;
    };
    const Case cases[] = {
        {"position 10", [&] { return api->ReqExt10(ids, 1); }},
        {"position 11", [&] { return api->ReqExt11(ids, 1); }},
        {"position 14", [&] { return api->ReqExt14(nullptr, 3); }},
    };
    for (const Case& c : cases) EXPECT_EQ(c.call(), -3) << c.name;
    api->RegisterExt5(nullptr);
    api->RegisterExt6("tcp://127.0.0.1:1");
    EXPECT_EQ(api->Join(), 0);
}

TEST(MdApiOffline, RequestsBeforeInit) {
    ApiPtr api = CreateApi();
    const NarvLoginReqRecord login = MakeLoginReq("F1", "INV001", "pw");
    const NarvLogoutRecord logout{};
    const char* ids[] = {"cu2501", "zn2502"};
    EXPECT_EQ(api->ReqLogin(&login, 1), -1);
    EXPECT_EQ(api->ReqLogout(&logout, 2), -1);
    EXPECT_EQ(api->ReqQuotSubscribe(ids, 2), 0);
    EXPECT_EQ(api->ReqQuotUnSubscribe(ids, 2), 0);
    EXPECT_STREQ(api->GetTradingDay(), "");
}

// Addresses without a host behind their six-character scheme, or none at all, are skipped rather than read
// past their end: the front registered after them is the first one tried, and the only one connected.
TEST(MdApiOffline, AddressesWithoutAHostAreSkipped) {
    CScriptedFront front;
    RecordingMdSpi spi;  // outlives the API object, whose I/O thread calls it until released
    ApiPtr api = CreateApi();
    api->RegisterSpi(&spi);
    for (const char* address : {static_cast<const char*>(nullptr), "", "tcp:/", "abc", "tcp://"})
        api->RegisterFront(address);
    api->RegisterFront(("123456" + front.Address()).c_str());  // the scheme is not examined
    api->Init();
    ASSERT_TRUE(front.WaitForConnection());
    EXPECT_TRUE(spi.WaitUntil([&] { return spi.connects == 1; }));
    EXPECT_EQ(front.ConnectionCount(), 1);
}

// ---------------------------------------------------------------------------------------------------
// Connected to a front

// An application connected through "tcp://host:port". The API goes first, before the callback object
// and the front.
class MdApiTest : public ::testing::Test {
protected:
    virtual ApiPtr MakeApi() { return CreateApi(); }

    void SetUp() override {
        api_ = MakeApi();
        api_->RegisterSpi(&spi_);
        api_->RegisterFront(("tcp://" + front_.Address()).c_str());
        api_->Init();
        ASSERT_TRUE(front_.WaitForConnection());
        ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.connects == 1; }));
    }

    // The next message that is not a heartbeat.
    std::unique_ptr<ReceivedMessage> NextRequest(std::chrono::milliseconds timeout = 5s) {
        for (;;) {
            auto message = front_.WaitForMessage(timeout);
            if (!message || message->ServiceNo != 0) return message;
        }
    }

    // Proves that nothing was sent before it: a logout is the next request the front sees.
    void ExpectNothingSentBefore(const char* what) {
        const NarvLogoutRecord logout{};
        ASSERT_EQ(api_->ReqLogout(&logout, 777), 0);
        auto message = NextRequest();
        ASSERT_TRUE(message) << what;
        EXPECT_EQ(message->ServiceNo, 118) << what;
        EXPECT_EQ(message->RequestID, 777) << what;
    }

    void SendLoginReply(int requestId, std::int16_t code, const std::string& text, const std::string& tradeDate,
                        std::int64_t sessionId, const std::string& sysName = "front-7") {
        front_.Send(117, requestId, 0, [&](CAPIPackage& p) {
            if (AddRspInfo(p, code, text) < 0) return -1;
            // Every field, in the server's order: SysMode and SessionID share an id.
            return AddGroup(
                p, TZOField::LoginRsp,
                {WireField::Text(TZOField::InvestorID, "INV001"), WireField::Text(TZOField::TradeDate, tradeDate),
                 WireField::Text(TZOField::InvestorName, "Investor One"), WireField::Text(TZOField::SysName, sysName),
                 WireField::Char(TZOField::SysMode, '1'), WireField::Char(TZOField::PayServerType, '0'),
                 WireField::Text(TZOField::AdviserID, ""), WireField::Char(TZOField::InvestorAdviserFlag, '0'),
                 WireField::Int64(TZOField::SessionID, sessionId)});
        });
    }

    void Login(const NarvLoginReqRecord& req, int requestId) {
        ASSERT_EQ(api_->ReqLogin(&req, requestId), 0);
        ASSERT_TRUE(front_.WaitForService(116));
    }

    CScriptedFront front_;
    RecordingMdSpi spi_;
    ApiPtr api_;
};

TEST_F(MdApiTest, LoginSendsTheInvestorAndPasswordCutToTheirWidths) {
    const NarvLoginReqRecord req =
        MakeLoginReq("FIRM-0123456789", "INVESTOR-0123456789", "password-0123456789-0123456789");
    ASSERT_EQ(api_->ReqLogin(&req, 9), 0);
    auto message = front_.WaitForService(116);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->RequestID, 9);
    EXPECT_EQ(ReadField(*message, TZOField::LoginReq, TZOField::InvestorID).Text(), "INVESTOR-012345");
    EXPECT_EQ(ReadField(*message, TZOField::LoginReq, TZOField::InvestorPassword).Text(), "password-0123456789-");
    EXPECT_EQ(ReadField(*message, TZOField::LoginReq, TZOField::IP).Text(), "");
    const FieldValue version = ReadField(*message, TZOField::LoginReq, TZOField::ProductVersion);
    ASSERT_TRUE(version.present);
    EXPECT_TRUE(IsZero(version.bytes.data(), version.bytes.size()));
}

TEST_F(MdApiTest, NullLoginRecordIsRefused) {
    EXPECT_EQ(api_->ReqLogin(nullptr, 1), -1);
    ExpectNothingSentBefore("null login");
}

TEST_F(MdApiTest, LoginReplyGivesTradingDayFrontAndSessionNumbers) {
    EXPECT_STREQ(api_->GetTradingDay(), "");
    Login(MakeLoginReq("FIRM-0123456789", "INV001", "pw"), 12);
    SendLoginReply(12, 0, "ok", "2024-12-02", (std::int64_t{5} << 32) | 7);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const auto seen = spi_.Read([&] { return spi_.logins[0]; });
    ASSERT_TRUE(seen.hasRecord);
    ASSERT_TRUE(seen.hasInfo);
    const NarvLoginRspRecord& r = seen.record;
    EXPECT_STREQ(r.TradingDay, "20241202");
    EXPECT_STREQ(r.FirmID, "FIRM-01234");  // the session keeps ten characters
    EXPECT_STREQ(r.InvestorID, "INV001");
    EXPECT_STREQ(r.SysName, "front-7");
    EXPECT_EQ(r.FrontID, 5);
    EXPECT_EQ(r.SessionID, 7);
    EXPECT_STREQ(r.InitialOrderRef, "1");
    ASSERT_EQ(std::strlen(r.LoginTime), 8u);
    EXPECT_EQ(r.LoginTime[2], ':');
    EXPECT_EQ(r.LoginTime[5], ':');
    for (const char* stamp : {r.StampTime1, r.StampTime2, r.StampTime3, r.StampTime4, r.StampTime5})
        EXPECT_STREQ(stamp, r.LoginTime);
    EXPECT_TRUE(IsZero(r.Reserved86, sizeof r.Reserved86));
    EXPECT_TRUE(IsZero(r.Reserved154, sizeof r.Reserved154));
    EXPECT_EQ(seen.info.ErrorID, 0);
    EXPECT_STREQ(seen.info.ErrorMsg, "ok");
    EXPECT_EQ(seen.requestId, 12);
    EXPECT_TRUE(seen.last);
    EXPECT_STREQ(api_->GetTradingDay(), "20241202");
}

// The application reads a trading-day text it was given on its own thread while later logins arrive on
// the I/O thread: the text stays as it was handed out (the thread sanitizer sees any write to it).
TEST_F(MdApiTest, ATradingDayTextStaysAsItWasHandedOutWhileLoginsArrive) {
    Login(MakeLoginReq("F", "INV001", "pw"), 1);
    SendLoginReply(1, 0, "", "2024-12-02", 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const char* first = api_->GetTradingDay();
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (!stop.load()) {
            EXPECT_EQ(std::string(first), "20241202");
            EXPECT_EQ(std::strlen(api_->GetTradingDay()), 8u);
            reads.fetch_add(1);
        }
    });
    const char* days[] = {"2024-12-03", "2024-12-04", "2024-12-05"};
    for (int i = 0; i < 3; ++i) {
        Login(MakeLoginReq("F", "INV001", "pw"), 2 + i);
        SendLoginReply(2 + i, 0, "", days[i], 0);
        ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == static_cast<std::size_t>(2 + i); }));
    }
    while (reads.load() == 0) std::this_thread::yield();  // the reader has overlapped the logins
    stop = true;
    reader.join();
    EXPECT_STREQ(first, "20241202");
    EXPECT_STREQ(api_->GetTradingDay(), "20241205");
}

// The high half of a negative session word is still the front number.
TEST_F(MdApiTest, SessionNumbersSplitTheUnsignedWord) {
    Login(MakeLoginReq("F", "INV001", "pw"), 1);
    SendLoginReply(1, 0, "", "2024-12-03", static_cast<std::int64_t>(0xFFFFFFFE00000003ULL));
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const auto seen = spi_.Read([&] { return spi_.logins[0]; });
    EXPECT_EQ(seen.record.FrontID, -2);
    EXPECT_EQ(seen.record.SessionID, 3);
}

// A rejected login still brings its code and text, the code widened without sign, the text cut to 80.
TEST_F(MdApiTest, RejectedLoginCarriesCodeAndText) {
    Login(MakeLoginReq("F", "INV001", "bad"), 3);
    const std::string longText(120, 'e');
    SendLoginReply(3, -1, longText, "2024-12-04", 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const auto seen = spi_.Read([&] { return spi_.logins[0]; });
    EXPECT_EQ(seen.info.ErrorID, 65535);
    EXPECT_EQ(std::string(seen.info.ErrorMsg), std::string(80, 'e'));
    EXPECT_TRUE(IsZero(seen.info.Reserved85, sizeof seen.info.Reserved85));
    EXPECT_STREQ(api_->GetTradingDay(), "20241204");  // taken whatever the code
}

TEST_F(MdApiTest, LogoutSendsAndAnswersWithTheSessionInvestor) {
    Login(MakeLoginReq("FIRM", "INVESTOR-0123456789", "pw"), 1);
    NarvLogoutRecord other{};
    std::strcpy(other.InvestorID, "SOMEONE-ELSE");
    ASSERT_EQ(api_->ReqLogout(&other, 31), 0);
    auto message = front_.WaitForService(118);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->RequestID, 31);
    EXPECT_EQ(ReadField(*message, TZOField::LogoutReq, TZOField::InvestorID).Text(), "INVESTOR-012345");

    front_.Send(119, 31, 0, [&](CAPIPackage& p) {
        if (AddRspInfo(p, 0, "bye") < 0) return -1;
        return AddGroup(p, TZOField::LogoutRsp, {WireField::Text(TZOField::InvestorID, "whatever")});
    });
    front_.Send(119, 32, 0);  // neither group: null record and null info
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logouts.size() == 2; }));
    const auto seen = spi_.Read([&] { return spi_.logouts[0]; });
    ASSERT_TRUE(seen.hasRecord);
    EXPECT_STREQ(seen.record.InvestorID, "INVESTOR-012345");
    EXPECT_STREQ(seen.record.FirmID, "");
    EXPECT_STREQ(seen.info.ErrorMsg, "bye");
    EXPECT_EQ(seen.requestId, 31);
    EXPECT_TRUE(seen.last);
    // The quote client hands over zeroed records when groups are missing, so both pointers are given.
    const auto bare = spi_.Read([&] { return spi_.logouts[1]; });
    EXPECT_EQ(bare.requestId, 32);
    EXPECT_TRUE(bare.last);
}

// ---------------------------------------------------------------------------------------------------
// Subscriptions

struct SubscriptionOp {
    const char* name;
    int (CNarvSqelMdApi::*request)(const char* const*, int);
    std::uint16_t serviceNo;
    const TZOFieldDef& group;
};

const SubscriptionOp kSubscriptionOps[] = {
    {"subscribe", &CNarvSqelMdApi::ReqQuotSubscribe, 7, TZOField::QuotSubscribeReq},
    {"unsubscribe", &CNarvSqelMdApi::ReqQuotUnSubscribe, 9, TZOField::QuotUnSubscribeReq},
};

TEST_F(MdApiTest, EachInstrumentIsOneRequestNumberedZero) {
    Login(MakeLoginReq("F", "INV001", "pw"), 1);
    for (const SubscriptionOp& op : kSubscriptionOps) {
        const char* ids[] = {"cu2501", "zn2502", "INSTRUMENT-0123456789"};  // the last is 21 characters
        ASSERT_EQ(((*api_).*op.request)(ids, 3), 0) << op.name;
        for (const char* expected : {"cu2501", "zn2502", "INSTRUMENT-0123"}) {
            auto message = NextRequest();
            ASSERT_TRUE(message) << op.name;
            EXPECT_EQ(message->ServiceNo, op.serviceNo) << op.name;
            EXPECT_EQ(message->RequestID, 0) << op.name;
            EXPECT_EQ(ReadField(*message, op.group, TZOField::InstrumentID).Text(), expected) << op.name;
            const FieldValue investor = ReadField(*message, op.group, TZOField::InvestorID);
            EXPECT_TRUE(investor.present) << op.name;
            EXPECT_EQ(investor.Text(), "") << op.name;
        }
    }
}

// Counts below one, a missing array and missing ids send nothing for them and do not crash; the
// result stays 0.
TEST_F(MdApiTest, UnusableInstrumentListsSendNothing) {
    const char* ids[] = {"cu2501"};
    struct Case {
        const char* name;
        const char* const* ids;
        int count;
    };
    const Case cases[] = {
        {"count 0", ids, 0},
        {"count -1", ids, -1},
        {"most negative count", ids, INT_MIN},
        {"no array", nullptr, 3},
    };
    for (const SubscriptionOp& op : kSubscriptionOps) {
        for (const Case& c : cases) {
            EXPECT_EQ(((*api_).*op.request)(c.ids, c.count), 0) << op.name << ", " << c.name;
            ExpectNothingSentBefore(c.name);
        }
    }
}

TEST_F(MdApiTest, MissingIdsAreSkippedAndTheOthersSent) {
    for (const SubscriptionOp& op : kSubscriptionOps) {
        const char* ids[] = {nullptr, "cu2501", nullptr, "zn2502"};
        ASSERT_EQ(((*api_).*op.request)(ids, 4), 0) << op.name;
        for (const char* expected : {"cu2501", "zn2502"}) {
            auto message = NextRequest();
            ASSERT_TRUE(message) << op.name;
            EXPECT_EQ(message->ServiceNo, op.serviceNo) << op.name;
            EXPECT_EQ(ReadField(*message, op.group, TZOField::InstrumentID).Text(), expected) << op.name;
        }
        ExpectNothingSentBefore(op.name);
    }
}

struct SubscriptionReply {
    const char* name;
    std::uint16_t serviceNo;
    const TZOFieldDef& group;
    std::vector<SeenReply<NarvQuotInstrumentRecord>> RecordingMdSpi::*seen;
};

const SubscriptionReply kSubscriptionReplies[] = {
    {"subscribe", 8, TZOField::QuotSubscribeRsp, &RecordingMdSpi::subscribes},
    {"unsubscribe", 10, TZOField::QuotUnSubscribeRsp, &RecordingMdSpi::unsubscribes},
};

TEST_F(MdApiTest, SubscriptionRepliesCarryTheInstrument) {
    for (const SubscriptionReply& c : kSubscriptionReplies) {
        front_.Send(c.serviceNo, 0, 1, [&](CAPIPackage& p) {  // continuation is not passed on
            if (AddRspInfo(p, 0, "") < 0) return -1;
            return AddGroup(p, c.group, {WireField::Text(TZOField::InstrumentID, "cu2501")});
        });
        front_.Send(c.serviceNo, 0, 0);  // neither group
        ASSERT_TRUE(spi_.WaitUntil([&] { return (spi_.*c.seen).size() == 2; })) << c.name;
        const auto seen = spi_.Read([&] { return (spi_.*c.seen)[0]; });
        ASSERT_TRUE(seen.hasRecord) << c.name;
        EXPECT_STREQ(seen.record.InstrumentID, "cu2501") << c.name;
        EXPECT_TRUE(IsZero(seen.record.SpareText1, sizeof seen.record.SpareText1)) << c.name;
        ASSERT_TRUE(seen.hasInfo) << c.name;
        EXPECT_EQ(seen.info.ErrorID, 0) << c.name;
        EXPECT_TRUE(seen.last) << c.name;
        const auto bare = spi_.Read([&] { return (spi_.*c.seen)[1]; });
        EXPECT_FALSE(bare.hasRecord) << c.name;
        EXPECT_FALSE(bare.hasInfo) << c.name;
        EXPECT_TRUE(bare.last) << c.name;
    }
}

// ---------------------------------------------------------------------------------------------------
// Depth quotes

// The push as the server writes it, ten levels, in its order (AskQty5 and ExchangeID share 1637).
std::vector<WireField> FullQuote(std::int64_t qtyTotal, std::int64_t oi, std::int64_t preOi, bool deepLevels = true) {
    using W = WireField;
    namespace F = TZOField;
    std::vector<W> q = {
        W::Text(F::MatchID, "M-000123"),
        W::Text(F::TradeDate, "2024-12-02"),
        W::Text(F::InstrumentID, "cu2501"),
        W::Double(F::Price, 74210.5),
        W::Int32(F::Qty, 3),
        W::Double(F::BidPrice, 74200.5),
        W::Int32(F::BidQty, 11),
        W::Double(F::AskPrice, 74220.5),
        W::Int32(F::AskQty, 12),
        W::Double(F::OpenPrice, 74000.5),
        W::Double(F::HighestPrice, 74500.5),
        W::Double(F::LowestPrice, 73900.5),
        W::Double(F::HighLimit, 79000.5),
        W::Double(F::LowLimit, 69000.5),
        W::Int64(F::OI, oi),
        W::Double(F::SettlePrice, 74100.5),
        W::Double(F::PreClose, 73950.5),
        W::Double(F::PreSettle, 73980.5),
        W::Int64(F::PreOI, preOi),
        W::Int64(F::QtyTotal, qtyTotal),
        W::Double(F::Amount, 1.5e9),
        W::Text(F::ModifyDate, "2024-12-03"),
        W::Text(F::ModifyTime, "10:15:30"),
        W::Double(F::BidPrice2, 74190.5),
        W::Int32(F::BidQty2, 102),
        W::Double(F::AskPrice2, 74230.5),
        W::Int32(F::AskQty2, 202),
        W::Double(F::BidPrice3, 74180.5),
        W::Int32(F::BidQty3, 103),
        W::Double(F::AskPrice3, 74240.5),
        W::Int32(F::AskQty3, 203),
        W::Double(F::BidPrice4, 74170.5),
        W::Int32(F::BidQty4, 104),
        W::Double(F::AskPrice4, 74250.5),
        W::Int32(F::AskQty4, 204),
        W::Double(F::BidPrice5, 74160.5),
        W::Int32(F::BidQty5, 105),
        W::Double(F::AskPrice5, 74260.5),
        W::Int32(F::AskQty5, 7),
    };
    if (deepLevels) {
        const TZOFieldDef* deep[5][4] = {{&F::BidPrice6, &F::BidQty6, &F::AskPrice6, &F::AskQty6},
                                         {&F::BidPrice7, &F::BidQty7, &F::AskPrice7, &F::AskQty7},
                                         {&F::BidPrice8, &F::BidQty8, &F::AskPrice8, &F::AskQty8},
                                         {&F::BidPrice9, &F::BidQty9, &F::AskPrice9, &F::AskQty9},
                                         {&F::BidPrice10, &F::BidQty10, &F::AskPrice10, &F::AskQty10}};
        for (int k = 6; k <= 10; ++k) {
            const auto& row = deep[k - 6];
            q.push_back(W::Double(*row[0], 74200.5 - 10 * k));
            q.push_back(W::Int32(*row[1], 100 + k));
            q.push_back(W::Double(*row[2], 74220.5 + 10 * k));
            q.push_back(W::Int32(*row[3], 200 + k));
        }
    }
    q.push_back(W::Char(F::BSFlag, 'S'));
    q.push_back(W::Text(F::ExchangeID, "SHFE-EXCHANGE"));  // 13 characters, exported as 8
    return q;
}

// One position of the exported record and what must be there; texts give their array size.
struct ExpectedAt {
    const char* field;
    std::size_t offset;
    enum Kind { kText, kDouble, kInt } kind;
    std::string text;
    double number;
    std::size_t textSize;
};

std::vector<ExpectedAt> ExpectedDepthQuote(double qtyTotal, double oi, double preOi) {
    using E = ExpectedAt;
    return {
        {"TradingDay", 0, E::kText, "20241202", 0, 9},    {"SpareText1", 9, E::kText, "", 0, 31},
        {"ExchangeID", 40, E::kText, "SHFE-EXC", 0, 9},   {"SpareText2", 49, E::kText, "", 0, 31},
        {"Price", 80, E::kDouble, "", 74210.5, 0},        {"PreSettle", 88, E::kDouble, "", 73980.5, 0},
        {"PreClose", 96, E::kDouble, "", 73950.5, 0},     {"PreOI", 104, E::kDouble, "", preOi, 0},
        {"OpenPrice", 112, E::kDouble, "", 74000.5, 0},   {"HighestPrice", 120, E::kDouble, "", 74500.5, 0},
        {"LowestPrice", 128, E::kDouble, "", 73900.5, 0}, {"QtyTotal", 136, E::kInt, "", qtyTotal, 0},
        {"Amount", 144, E::kDouble, "", 1.5e9, 0},        {"OI", 152, E::kDouble, "", oi, 0},
        {"ClosePrice", 160, E::kDouble, "", 74210.5, 0},  {"SettlePrice", 168, E::kDouble, "", 74100.5, 0},
        {"HighLimit", 176, E::kDouble, "", 79000.5, 0},   {"LowLimit", 184, E::kDouble, "", 69000.5, 0},
        {"SpareValue1", 192, E::kDouble, "", 0, 0},       {"SpareValue2", 200, E::kDouble, "", 0, 0},
        {"ModifyTime", 208, E::kText, "10:15:30", 0, 9},  {"SpareInt", 220, E::kInt, "", 0, 0},
        {"BidPrice", 224, E::kDouble, "", 74200.5, 0},    {"BidQty", 232, E::kInt, "", 11, 0},
        {"AskPrice", 240, E::kDouble, "", 74220.5, 0},    {"AskQty", 248, E::kInt, "", 12, 0},
        {"BidPrice2", 256, E::kDouble, "", 74190.5, 0},   {"BidQty2", 264, E::kInt, "", 102, 0},
        {"AskPrice2", 272, E::kDouble, "", 74230.5, 0},   {"AskQty2", 280, E::kInt, "", 202, 0},
        {"BidPrice3", 288, E::kDouble, "", 74180.5, 0},   {"BidQty3", 296, E::kInt, "", 103, 0},
        {"AskPrice3", 304, E::kDouble, "", 74240.5, 0},   {"AskQty3", 312, E::kInt, "", 203, 0},
        {"BidPrice4", 320, E::kDouble, "", 74170.5, 0},   {"BidQty4", 328, E::kInt, "", 104, 0},
        {"AskPrice4", 336, E::kDouble, "", 74250.5, 0},   {"AskQty4", 344, E::kInt, "", 204, 0},
        {"BidPrice5", 352, E::kDouble, "", 74160.5, 0},   {"BidQty5", 360, E::kInt, "", 105, 0},
        {"AskPrice5", 368, E::kDouble, "", 74260.5, 0},   {"AskQty5", 376, E::kInt, "", 7, 0},
        {"AvgPrice", 384, E::kDouble, "", 0, 0},          {"ModifyDate", 392, E::kText, "20241203", 0, 9},
        {"InstrumentID", 401, E::kText, "cu2501", 0, 81},
    };
}

// Reads the exported record by offset only, as an application built against its own copy of the
// header would; texts must be zero after their terminator and every byte not listed must be zero.
void ExpectDepthQuote(const NarvDepthQuoteRecord& quote, const std::vector<ExpectedAt>& expected) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(&quote);
    std::vector<bool> covered(sizeof quote, false);
    for (const ExpectedAt& e : expected) {
        std::size_t size = 0;
        switch (e.kind) {
            case ExpectedAt::kText: {
                size = e.textSize;
                const auto* text = reinterpret_cast<const char*>(base + e.offset);
                const std::size_t length = strnlen(text, size);
                ASSERT_LT(length, size) << e.field << " is not terminated";
                EXPECT_EQ(std::string(text, length), e.text) << e.field;
                EXPECT_TRUE(IsZero(base + e.offset + length, size - length)) << e.field << " tail";
                break;
            }
            case ExpectedAt::kDouble: {
                double v;
                std::memcpy(&v, base + e.offset, sizeof v);
                EXPECT_EQ(v, e.number) << e.field;
                size = sizeof v;
                break;
            }
            case ExpectedAt::kInt: {
                std::int32_t v;
                std::memcpy(&v, base + e.offset, sizeof v);
                EXPECT_EQ(v, static_cast<std::int32_t>(e.number)) << e.field;
                size = sizeof v;
                break;
            }
        }
        for (std::size_t b = e.offset; b < e.offset + size; ++b) covered[b] = true;
    }
    for (std::size_t b = 0; b < sizeof quote; ++b) {
        if (covered[b]) continue;
        EXPECT_EQ(base[b], 0) << "byte " << b;
    }
}

TEST_F(MdApiTest, DepthQuoteIsConvertedAtEveryOffset) {
    front_.Send(125, 0, 0, [&](CAPIPackage& p) { return AddGroup(p, TZOField::Quot, FullQuote(123456, 98765, 4321)); });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    ExpectDepthQuote(spi_.Read([&] { return spi_.quotes[0]; }), ExpectedDepthQuote(123456, 98765, 4321));
}

// Volume beyond 32 bits keeps its low half; open interest with the top bit set is read as unsigned.
TEST_F(MdApiTest, DepthQuoteWidensAndNarrowsAsTheExportedFieldsRequire) {
    const std::int64_t qtyTotal = (std::int64_t{3} << 32) + 17;           // above 2^32 - 1
    const std::int64_t oi = -1;                                           // 2^64 - 1 taken as unsigned
    const std::int64_t preOi = std::numeric_limits<std::int64_t>::min();  // 2^63
    front_.Send(125, 0, 0, [&](CAPIPackage& p) { return AddGroup(p, TZOField::Quot, FullQuote(qtyTotal, oi, preOi)); });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    const NarvDepthQuoteRecord quote = spi_.Read([&] { return spi_.quotes[0]; });
    EXPECT_EQ(quote.QtyTotal, 17);
    EXPECT_EQ(quote.OI, 18446744073709551615.0);
    EXPECT_EQ(quote.PreOI, 9223372036854775808.0);
}

// A server that sends only five levels: the exported record is the same as with ten.
TEST_F(MdApiTest, DepthQuoteWithoutLevelsSixToTen) {
    front_.Send(125, 0, 0,
                [&](CAPIPackage& p) { return AddGroup(p, TZOField::Quot, FullQuote(123456, 98765, 4321, false)); });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    ExpectDepthQuote(spi_.Read([&] { return spi_.quotes[0]; }), ExpectedDepthQuote(123456, 98765, 4321));
}

// An object built on a clock the test sets: the login time and the five stamps are that clock's.
class MdApiOnFixedClock : public MdApiTest {
protected:
    ApiPtr MakeApi() override {
        clock_.time = FacadeLocalTime{2025, 2, 3, 9, 5, 7};
        return ApiPtr(new CSqelMdApiImpl(clock_));
    }
    CFixedClock clock_;
};

TEST_F(MdApiOnFixedClock, LoginTimeIsTheLocalClocks) {
    Login(MakeLoginReq("F", "INV001", "pw"), 1);
    SendLoginReply(1, 0, "", "2024-12-02", 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const NarvLoginRspRecord r = spi_.Read([&] { return spi_.logins[0].record; });
    for (const char* stamp : {r.LoginTime, r.StampTime1, r.StampTime2, r.StampTime3, r.StampTime4, r.StampTime5})
        EXPECT_STREQ(stamp, "09:05:07");
}

TEST_F(MdApiTest, LostConnectionIsReportedWithReasonZero) {
    front_.Drop();
    ASSERT_TRUE(spi_.WaitUntil([&] { return !spi_.disconnects.empty(); }));
    EXPECT_EQ(spi_.Read([&] { return spi_.disconnects[0]; }), 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.connects == 2; }, 10s));  // reconnects by itself
}

}  // namespace
