// Helpers shared by the trade client tests: a callback object that records every call as a row, sample
// records filled from their layouts, received packages built in memory, and a client connected to a
// scripted front.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "APIPackage.h"
#include "NELOAccountRecords.h"
#include "NELOQueryRecords.h"
#include "NELOTradeApi.h"
#include "NELOTradeApiImp.h"
#include "TZORecordLayout.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace trade_test {

using Bytes = std::vector<std::uint8_t>;

// A record of any layout, as raw storage (the vector's allocation is suitably aligned).
inline Bytes SampleRecord(const TZORecordLayout& layout, int seed) {
    Bytes record(layout.recordSize, 0);
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        std::uint8_t* at = record.data() + slot.offset;
        const int value = seed * 100 + static_cast<int>(i) + 1;
        switch (slot.field->type) {
            case 'S': {
                const auto v = static_cast<std::int16_t>(value);
                std::memcpy(at, &v, 2);
                break;
            }
            case 'I': {
                const auto v = static_cast<std::int32_t>(-value);
                std::memcpy(at, &v, 4);
                break;
            }
            case 'L': {
                const std::int64_t v = 10000000000LL + value;
                std::memcpy(at, &v, 8);
                break;
            }
            case 'D': {
                const double v = value + 0.25;
                std::memcpy(at, &v, 8);
                break;
            }
            default:
                if (slot.size == 1)
                    *at = static_cast<std::uint8_t>('A' + value % 26);
                else
                    std::snprintf(reinterpret_cast<char*>(at), slot.size, "S%d.%u", seed, i);
        }
    }
    return record;
}

// Name of the first member whose stored value differs, or "" when every member of the layout agrees.
inline std::string FirstDifference(const TZORecordLayout& layout, const void* a, const void* b) {
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        if (std::memcmp(static_cast<const std::uint8_t*>(a) + slot.offset,
                        static_cast<const std::uint8_t*>(b) + slot.offset, slot.size) != 0)
            return slot.field->name;
    }
    return "";
}

// One callback as the client made it.
struct Call {
    std::string callback;
    bool hasRecord = false;
    Bytes record;
    bool hasRspInfo = false;
    NELORspInfoRecord rspInfo{};
    std::int32_t requestID = 0;
    std::int32_t flag = 0;
};

class RecordingSpi : public CNELOTradeSpi {
public:
    std::vector<Call> Calls() const { return calls_.Events(); }
    void Clear() { calls_.Clear(); }
    // Waits until at least `count` calls were recorded.
    bool WaitForCalls(std::size_t count, std::chrono::milliseconds timeout = kTestPatience) const {
        return calls_.WaitForCount(count, timeout);
    }

#define TRADE_TEST_REPLY(Name, Record)                                                                           \
    void Name(const Record* record, const NELORspInfoRecord* rspInfo, std::int32_t requestID, std::int32_t flag) \
        override {                                                                                               \
        Add(#Name, record, sizeof(Record), rspInfo, requestID, flag);                                            \
    }
#define TRADE_TEST_PUSH(Name, Record) \
    void Name(const Record* record) override { Add(#Name, record, sizeof(Record), nullptr, 0, 0); }

    void OnFrontConnected() override { Add("OnFrontConnected", nullptr, 0, nullptr, 0, 0); }
    void OnFrontDisconnected() override { Add("OnFrontDisconnected", nullptr, 0, nullptr, 0, 0); }
    TRADE_TEST_REPLY(OnLoginRsp, NELOLoginRspRecord)
    TRADE_TEST_REPLY(OnLogoutRsp, NELOInvestorRecord)
    TRADE_TEST_REPLY(OnChangePasswordRsp, NELOInvestorRecord)
    TRADE_TEST_REPLY(OnInputOrderRsp, NELOInputOrderRecord)
    TRADE_TEST_PUSH(OnOrderNty, NELOOrderRecord)
    TRADE_TEST_REPLY(OnOrderCancelRsp, NELOOrderCancelRecord)
    TRADE_TEST_PUSH(OnMarketStatusNty, NELOMarketStatusRecord)
    TRADE_TEST_PUSH(OnTradeNty, NELOTradeRecord)
    TRADE_TEST_REPLY(OnQuotQueryRsp, NELOQuotRecord)
    TRADE_TEST_REPLY(OnOrderQueryRsp, NELOOrderRecord)
    TRADE_TEST_REPLY(OnTradeQueryRsp, NELOTradeRecord)
    TRADE_TEST_REPLY(OnPosiQueryRsp, NELOPosiRecord)
    TRADE_TEST_REPLY(OnFundQueryRsp, NELOFundRecord)
    TRADE_TEST_REPLY(OnInstrumentQueryRsp, NELOInstrumentRecord)
    TRADE_TEST_REPLY(OnPosiDetailQueryRsp, NELOPosiDetailRecord)
    TRADE_TEST_REPLY(OnProfitLossStopSetRsp, NELOProfitLossStopRecord)
    TRADE_TEST_PUSH(OnPosiDetailNty, NELOPosiDetailRecord)
    TRADE_TEST_PUSH(OnFundNty, NELOFundRecord)
    TRADE_TEST_PUSH(OnPosiNty, NELOPosiRecord)
    TRADE_TEST_REPLY(OnInputOrderExRsp, NELOInputOrderRecord)
    TRADE_TEST_REPLY(OnBulletinQueryRsp, NELOBulletinRecord)
    TRADE_TEST_REPLY(OnNoticeQueryRsp, NELONoticeRecord)
    TRADE_TEST_PUSH(OnBulletinNty, NELOBulletinRecord)
    TRADE_TEST_PUSH(OnNoticeNty, NELONoticeRecord)
    TRADE_TEST_REPLY(OnElectronicFundIORsp, NELOFundTransferRspRecord)
    TRADE_TEST_PUSH(OnElectronicFundIONty, NELOFundTransferNtyRecord)
    TRADE_TEST_REPLY(OnFundIODetailQueryRsp, NELOFundIODetailRecord)
    TRADE_TEST_REPLY(OnReportQueryRsp, NELOReportRecord)
    TRADE_TEST_REPLY(OnHisOrderQueryRsp, NELOOrderRecord)
    TRADE_TEST_REPLY(OnHisTradeQueryRsp, NELOTradeRecord)
    TRADE_TEST_REPLY(OnHisBulletinQueryRsp, NELOBulletinRecord)
    TRADE_TEST_REPLY(OnHisNoticeQueryRsp, NELONoticeRecord)
    TRADE_TEST_REPLY(OnAccountBindRsp, NELOAccountBindRspRecord)
    TRADE_TEST_REPLY(OnAccountBindQueryRsp, NELOAccountBindRecord)
    TRADE_TEST_REPLY(OnHisFundQueryRsp, NELOFundRecord)
    TRADE_TEST_REPLY(OnHisPosiDetailQueryRsp, NELOPosiDetailRecord)
    TRADE_TEST_PUSH(OnAccountBindNty, NELOAccountBindRecord)
    TRADE_TEST_REPLY(OnProductQueryRsp, NELOProductRecord)
    TRADE_TEST_REPLY(OnExchangeQueryRsp, NELOExchangeRecord)
    TRADE_TEST_REPLY(OnInvestorFeeRateQueryRsp, NELOFeeRateRecord)
    TRADE_TEST_REPLY(OnInvestorMarginRateQueryRsp, NELOMarginRateRecord)
    TRADE_TEST_REPLY(OnExchangeMarginRateQueryRsp, NELOMarginRateRecord)

#undef TRADE_TEST_REPLY
#undef TRADE_TEST_PUSH

private:
    void Add(const char* name, const void* record, std::size_t size, const NELORspInfoRecord* rspInfo,
             std::int32_t requestID, std::int32_t flag) {
        Call call;
        call.callback = name;
        call.hasRecord = record != nullptr;
        if (record)
            call.record.assign(static_cast<const std::uint8_t*>(record),
                               static_cast<const std::uint8_t*>(record) + size);
        call.hasRspInfo = rspInfo != nullptr;
        if (rspInfo) call.rspInfo = *rspInfo;
        call.requestID = requestID;
        call.flag = flag;
        calls_.Add(std::move(call));
    }

    CEventRecord<Call> calls_;
};

using BodyWriter = std::function<int(CAPIPackage&)>;

// A message as the connection hands it over: built with Begin, then opened in place.
class ReceivedPackage {
public:
    ReceivedPackage(std::uint16_t serviceNo, std::int32_t requestID, std::int32_t endFlag,
                    const BodyWriter& writeBody = {})
        : bytes_(kAPIMessageMaxSize, 0) {
        CAPIPackage writer;
        writer.Begin(serviceNo, requestID, bytes_.data());
        if (writeBody) {
            EXPECT_GE(writeBody(writer), 0);
        }
        writer.SetEndFlag(endFlag);
        package.OpenReceived(bytes_.data(), writer.Length());
    }
    Bytes bytes_;
    CAPIPackage package;
};

inline NELORspInfoRecord RspInfo(std::int16_t rspNo, const char* desc) {
    NELORspInfoRecord info{};
    info.RspNo = rspNo;
    std::snprintf(info.RspDesc, sizeof(info.RspDesc), "%s", desc);
    return info;
}

inline int AddRspInfo(CAPIPackage& package, const NELORspInfoRecord& info) {
    return TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}

// Writes a list of rows; `set` is left open for callers that patch the rows afterwards.
inline int AddList(CAPIPackage& package, std::uint16_t listId, const TZORecordLayout& layout,
                   const std::vector<Bytes>& rows, CTZORecordSet* set = nullptr) {
    CTZORecordSet local;
    CTZORecordSet& target = set ? *set : local;
    if (package.AddRecordSet(listId, &target) != 0) return -1;
    for (const Bytes& row : rows)
        if (TZOAddRecordToSet(target, layout, row.data()) != 0) return -1;
    return 0;
}

class TradeClientOverFront : public ::testing::Test {
protected:
    void SetUp() override {
        client = new CNELOTradeApiImp;
        TransportSettings settings;
        settings.reconnectDelay = std::chrono::milliseconds(20);
        settings.onAttempt = [this](std::size_t) { attempts.Add(); };
        client->SetTransportSettings(settings);
        client->RegisterSpi(&spi);
        client->RegisterFront(front.Address().c_str());
        ASSERT_EQ(client->Init(), 0);
        ASSERT_TRUE(front.WaitForConnection());
        ASSERT_TRUE(spi.WaitForCalls(1));
        ASSERT_EQ(spi.Calls()[0].callback, "OnFrontConnected");
        spi.Clear();
    }
    void TearDown() override {
        if (client) client->Release();
    }

    // Waits for the next call and returns it, or an empty row.
    Call NextCall() {
        if (!spi.WaitForCalls(seen + 1)) return {};
        return spi.Calls()[seen++];
    }

    CScriptedFront front;
    RecordingSpi spi;
    CEventCounter attempts;  // the connect attempts the transport starts
    CNELOTradeApiImp* client = nullptr;
    std::size_t seen = 0;
};

}  // namespace trade_test
