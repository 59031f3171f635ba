// The trading library driven through its exported interface against a loopback scripted front: the
// fixture connects an API object made by the shared library, tells apart the library's two threads, and
// reads the back end's records on the wire and writes them back in replies and pushes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "APIPackage.h"
#include "NELOOrderRecords.h"
#include "NELOQueryRecords.h"
#include "NELOSessionRecords.h"
#include "NarvSqelTraderApi.h"
#include "TZOFieldDictionary.h"
#include "TZORecordLayout.h"
#include "TraderTestSupport.h"
#include "support/ScriptedFront.h"

namespace traderapi_test {

// GBK texts as the back end sends them.
constexpr const char kGbkAllTraded[] = "\xc8\xab\xb2\xbf\xb3\xc9\xbd\xbb";     // 全部成交
constexpr const char kGbkCancelled[] = "\xd2\xd1\xb3\xb7\xcf\xfb";             // 已撤消
constexpr const char kGbkAccepted[] = "\xd2\xd1\xca\xdc\xc0\xed";              // 已受理
constexpr const char kGbkReported[] = "\xd2\xd1\xb1\xa8\xc8\xeb";              // 已报入
constexpr const char kGbkPartlyTraded[] = "\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb";  // 部分成交
constexpr const char kGbkNoFunds[] = "\xd7\xca\xbd\xf0\xb2\xbb\xd7\xe3";       // 资金不足
constexpr const char kGbkLoginFailed[] = "\xb5\xc7\xc2\xbc\xca\xa7\xb0\xdc";   // 登录失败
constexpr const char kGbkCancelFailed[] = "\xb3\xb7\xb5\xa5\xca\xa7\xb0\xdc";  // 撤单失败

inline NELORspInfoRecord BackEndInfo(std::int16_t rspNo, const char* desc) {
    NELORspInfoRecord info{};
    info.RspNo = rspNo;
    std::strncpy(info.RspDesc, desc, sizeof(info.RspDesc) - 1);
    return info;
}

// Decodes group `groupId` of a received message into a back-end record.
template <class Record>
Record ReadGroup(ReceivedMessage& message, const TZOFieldDef& group, const TZORecordLayout& layout) {
    Record record{};
    EXPECT_EQ(TZOReadGroup(message.package, group.id, layout, &record), 0) << "group " << group.name;
    return record;
}

// Rows of a record set of a received message.
template <class Record>
std::vector<Record> ReadRows(ReceivedMessage& message, const TZOFieldDef& list, const TZORecordLayout& layout) {
    std::vector<Record> rows;
    CTZORecordSet set;
    if (message.package.GetRecordSet(list.id, &set) != 0) {
        return rows;
    }
    while (set.NextRecord()) {
        Record row{};
        EXPECT_EQ(TZODecodeRecord(layout, &row, set.RecordData(), set.RecordLength()), 0);
        rows.push_back(row);
    }
    return rows;
}

// Body writers of replies and pushes.
inline int AddInfo(CAPIPackage& package, const NELORspInfoRecord& info) {
    return TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}
template <class Record>
int AddRows(CAPIPackage& package, const TZOFieldDef& list, const TZORecordLayout& layout,
            const std::vector<Record>& rows) {
    CTZORecordSet set;
    if (package.AddRecordSet(list.id, &set) != 0) {
        return -1;
    }
    for (const Record& row : rows) {
        if (TZOAddRecordToSet(set, layout, &row) != 0) {
            return -1;
        }
    }
    return 0;
}

// The bytes a reply record must hold: zero everywhere except where a value is put.
class RecordImage {
public:
    explicit RecordImage(std::size_t size) : bytes(size, 0) {}
    RecordImage& Text(std::size_t offset, const std::string& text) {
        std::memcpy(bytes.data() + offset, text.data(), text.size());
        return *this;
    }
    RecordImage& Char(std::size_t offset, char value) {
        bytes[offset] = static_cast<std::uint8_t>(value);
        return *this;
    }
    RecordImage& Int(std::size_t offset, std::int32_t value) { return Put(offset, value); }
    RecordImage& Double(std::size_t offset, double value) { return Put(offset, value); }

    // "offset: got/expected" for every byte of `record` that differs; "" when it is this image.
    std::string Differences(const Bytes& record) const {
        if (record.size() != bytes.size()) {
            return "size " + std::to_string(record.size()) + " instead of " + std::to_string(bytes.size());
        }
        std::string out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (record[i] != bytes[i]) {
                out += std::to_string(i) + ": " + std::to_string(record[i]) + "/" + std::to_string(bytes[i]) + "\n";
            }
        }
        return out;
    }

    Bytes bytes;

private:
    template <class Number>
    RecordImage& Put(std::size_t offset, Number value) {
        std::memcpy(bytes.data() + offset, &value, sizeof(value));
        return *this;
    }
};

// An API object of the shared library, connected to a scripted front, with the callbacks recorded.
class FrontFixture : public ::testing::Test {
protected:
    void SetUp() override {
        api = CNarvSqelTraderApi::CreateSqelTraderApi("");
        ASSERT_NE(api, nullptr);
        api->RegisterSpi(&spi);
        // The scheme is skipped unread, so any six characters do.
        api->RegisterFront(("xyz://" + front.Address()).c_str());
        api->Init();
        ASSERT_TRUE(front.WaitForConnection());
        const Call connected = spi.WaitForPosition(0);
        ASSERT_EQ(connected.position, 0) << "no OnConnected";
        ioThread = connected.thread;
        EXPECT_NE(ioThread, std::this_thread::get_id());
        spi.Clear();
    }
    void TearDown() override {
        if (api != nullptr) {
            api->Release();
        }
    }

    // The next message of this service, heartbeats skipped.
    std::unique_ptr<ReceivedMessage> Expect(std::uint16_t serviceNo) {
        std::unique_ptr<ReceivedMessage> message = front.WaitForService(serviceNo);
        EXPECT_NE(message, nullptr) << "service " << serviceNo << " not received";
        return message;
    }
    // The next message that is not a heartbeat, or null.
    std::unique_ptr<ReceivedMessage> NextMessage() {
        for (;;) {
            std::unique_ptr<ReceivedMessage> message = front.WaitForMessage();
            if (message == nullptr || message->ServiceNo != 0) {
                return message;
            }
        }
    }
    // Sends a reply and waits for the callback it produces.
    Call Reply(int callbackPosition, std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag,
               const CScriptedFront::BodyWriter& body) {
        front.Send(serviceNo, requestId, endFlag, body);
        return spi.WaitForReply(callbackPosition, requestId);
    }
    // A callback that came through the trade client's I/O thread with the given request id.
    void ExpectIOReply(const Call& call, int position, int requestId, bool last) {
        EXPECT_EQ(call.position, position);
        EXPECT_EQ(call.requestId, requestId);
        EXPECT_EQ(call.last, last);
        EXPECT_EQ(call.thread, ioThread) << "replies from the back end arrive on the I/O thread";
    }
    // Proof that nothing else is on its way: a locally answered request made now is delivered after
    // everything posted before it, and a push sent now arrives after every earlier message.
    void SyncWithFront() {
        static int marker = 900000;
        ++marker;
        NarvFundQueryRecord query{};
        ASSERT_EQ(api->ReqFundQuery(&query, marker), 0);
        Expect(143);
        front.Send(144, marker, 0, {});
        ASSERT_EQ(spi.WaitForReply(31, marker).position, 31);
    }

    // Logs in and answers with the given trading date and 64-bit session id; returns the callback.
    Call LogIn(const char* investorID, const char* tradeDate, std::int64_t sessionID, int requestId = 1,
               std::int16_t rspNo = 0, const char* rspDesc = "") {
        NarvLoginReqRecord login{};
        std::strcpy(login.FirmID, "FIRM01");
        std::strcpy(login.InvestorID, investorID);
        std::strcpy(login.InvestorPassword, "pw");
        EXPECT_EQ(api->ReqLogin(&login, requestId), 0);
        std::unique_ptr<ReceivedMessage> request = Expect(116);
        if (request == nullptr) {
            return {};
        }
        NELOLoginRspRecord rsp{};
        std::strcpy(rsp.InvestorID, investorID);
        std::strcpy(rsp.TradeDate, tradeDate);
        std::strcpy(rsp.SysName, "NELO");
        rsp.SessionID = sessionID;
        const NELORspInfoRecord info = BackEndInfo(rspNo, rspDesc);
        return Reply(4, 117, request->RequestID, 0, [&](CAPIPackage& p) {
            return AddInfo(p, info) >= 0 && TZOAddRecord(p, TZOField::LoginRsp.id, kNELOLoginRspLayout, &rsp) >= 0 ? 0
                                                                                                                   : -1;
        });
    }

    // A push on flow 1 with the next sequence number.
    template <class Record>
    void Push(std::int32_t kind, const TZOFieldDef& group, const TZORecordLayout& layout, const Record& record) {
        front.Send(1, kind, ++pushSequence, [&](CAPIPackage& p) { return TZOAddRecord(p, group.id, layout, &record); });
    }

    CScriptedFront front;
    CRecordingSpi spi;
    CNarvSqelTraderApi* api = nullptr;
    std::thread::id ioThread;
    std::int32_t pushSequence = 0;
};

}  // namespace traderapi_test
