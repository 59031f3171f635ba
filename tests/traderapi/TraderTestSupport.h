// Helpers of the trading API tests: an application callback object that records every call at every
// position (with a copy of the record, the response info, the request id, the last flag and the thread),
// and small tools to fill and read exported records by byte offset.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "NarvSqelTraderApi.h"
#include "support/Waiting.h"

namespace traderapi_test {

using Bytes = std::vector<std::uint8_t>;
constexpr std::chrono::milliseconds kWait = kTestPatience;

struct Call {
    int position = -1;
    const void* recordPointer = nullptr;  // as the library passed it
    Bytes record;                         // a copy of a typed record; empty for untyped or null records
    bool hasInfo = false;
    NarvRspInfoRecord info{};
    int requestId = 0;
    bool last = false;
    int reason = 0;  // OnDisconnected
    std::thread::id thread;

    bool HasRecord() const { return recordPointer != nullptr; }
    template <class Record>
    const Record& As() const {
        EXPECT_EQ(record.size(), sizeof(Record));
        return *reinterpret_cast<const Record*>(record.data());
    }
    // Text at a byte offset of the copied record.
    std::string Text(std::size_t offset) const { return reinterpret_cast<const char*>(record.data() + offset); }
    template <class Number>
    Number At(std::size_t offset) const {
        Number value{};
        std::memcpy(&value, record.data() + offset, sizeof(value));
        return value;
    }
    char Char(std::size_t offset) const { return static_cast<char>(record[offset]); }
};

class CRecordingSpi : public CNarvSqelTraderSpi {
public:
    std::vector<Call> Calls() const { return calls_.Events(); }
    std::size_t Count() const { return calls_.Count(); }
    // Waits until some call satisfies `match`; returns it (position -1 after the timeout).
    Call WaitFor(const std::function<bool(const Call&)>& match, std::chrono::milliseconds timeout = kWait) const {
        return calls_.WaitForMatch(match, timeout).value_or(Call{});
    }
    Call WaitForPosition(int position, std::chrono::milliseconds timeout = kWait) const {
        return WaitFor([position](const Call& call) { return call.position == position; }, timeout);
    }
    Call WaitForReply(int position, int requestId, std::chrono::milliseconds timeout = kWait) const {
        return WaitFor([=](const Call& call) { return call.position == position && call.requestId == requestId; },
                       timeout);
    }
    // Waits until `count` calls at `position` were recorded.
    bool WaitForPositionCount(int position, std::size_t count, std::chrono::milliseconds timeout = kWait) const {
        return calls_.WaitUntil(
            [&](const std::vector<Call>& calls) {
                return std::count_if(calls.begin(), calls.end(), [&](const Call& call) {
                           return call.position == position;
                       }) >= static_cast<std::ptrdiff_t>(count);
            },
            timeout);
    }
    bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout = kWait) const {
        return calls_.WaitForCount(count, timeout);
    }
    void Clear() { calls_.Clear(); }
    // Runs inside the next callback at `position`, on the library's thread.
    void OnNextCall(int position, std::function<void()> action) {
        std::lock_guard<std::mutex> lock(hooksMutex_);
        hooks_[position] = std::move(action);
    }
    // Every callback that starts once this is set counts as late.
    void MarkReleased() { released_.store(true); }
    int LateCalls() const { return lateCalls_.load(); }

    // ---- every position, in order ----
    void OnConnected() override { RecordEvent(0, 0); }
    void OnDisconnected(int reason) override { RecordEvent(1, reason); }
    void OnSpare2(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(2, record, info, requestId, last);
    }
    void OnAuthenticateRsp(const NarvAuthenticateRspRecord* record, const NarvRspInfoRecord* info, int requestId,
                           bool last) override {
        RecordReply(3, record, info, requestId, last);
    }
    void OnLoginRsp(const NarvLoginRspRecord* record, const NarvRspInfoRecord* info, int requestId,
                    bool last) override {
        RecordReply(4, record, info, requestId, last);
    }
    void OnLogoutRsp(const NarvLogoutRecord* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(5, record, info, requestId, last);
    }
    void OnChangePasswordRsp(const NarvChangePasswordRecord* record, const NarvRspInfoRecord* info, int requestId,
                             bool last) override {
        RecordReply(6, record, info, requestId, last);
    }
    void OnSpare7(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(7, record, info, requestId, last);
    }
    void OnAcknowledgeRsp(const NarvAcknowledgeRecord* record, const NarvRspInfoRecord* info, int requestId,
                          bool last) override {
        RecordReply(8, record, info, requestId, last);
    }
    void OnSpare9(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(9, record, info, requestId, last);
    }
    void OnSpare10(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(10, record, info, requestId, last);
    }
    void OnInputOrderRsp(const NarvInputOrderRecord* record, const NarvRspInfoRecord* info, int requestId,
                         bool last) override {
        RecordReply(11, record, info, requestId, last);
    }
    void OnSpare12(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(12, record, info, requestId, last);
    }
    void OnSpare13(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(13, record, info, requestId, last);
    }
    void OnOrderCancelRsp(const NarvOrderActionRecord* record, const NarvRspInfoRecord* info, int requestId,
                          bool last) override {
        RecordReply(14, record, info, requestId, last);
    }
    void OnMaxOrderQtyQueryRsp(const NarvMaxOrderQtyRecord* record, const NarvRspInfoRecord* info, int requestId,
                               bool last) override {
        RecordReply(15, record, info, requestId, last);
    }
    void OnSettlementConfirmRsp(const NarvSettlementConfirmRecord* record, const NarvRspInfoRecord* info, int requestId,
                                bool last) override {
        RecordReply(16, record, info, requestId, last);
    }
    void OnSpare17(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(17, record, info, requestId, last);
    }
    void OnSpare18(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(18, record, info, requestId, last);
    }
    void OnExt31Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(19, record, info, requestId, last);
    }
    void OnExt32Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(20, record, info, requestId, last);
    }
    void OnExt33Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(21, record, info, requestId, last);
    }
    void OnExt34Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(22, record, info, requestId, last);
    }
    void OnExt35Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(23, record, info, requestId, last);
    }
    void OnSpare24(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(24, record, info, requestId, last);
    }
    void OnExt37Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(25, record, info, requestId, last);
    }
    void OnExt38Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(26, record, info, requestId, last);
    }
    void OnSpare27(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(27, record, info, requestId, last);
    }
    void OnOrderQueryRsp(const NarvOrderRecord* record, const NarvRspInfoRecord* info, int requestId,
                         bool last) override {
        RecordReply(28, record, info, requestId, last);
    }
    void OnTradeQueryRsp(const NarvTradeRecord* record, const NarvRspInfoRecord* info, int requestId,
                         bool last) override {
        RecordReply(29, record, info, requestId, last);
    }
    void OnPosiQueryRsp(const NarvPosiRecord* record, const NarvRspInfoRecord* info, int requestId,
                        bool last) override {
        RecordReply(30, record, info, requestId, last);
    }
    void OnFundQueryRsp(const NarvFundRecord* record, const NarvRspInfoRecord* info, int requestId,
                        bool last) override {
        RecordReply(31, record, info, requestId, last);
    }
    void OnInvestorQueryRsp(const NarvInvestorRecord* record, const NarvRspInfoRecord* info, int requestId,
                            bool last) override {
        RecordReply(32, record, info, requestId, last);
    }
    void OnExt45Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(33, record, info, requestId, last);
    }
    void OnInvestorMarginRateQueryRsp(const NarvInvestorMarginRateRecord* record, const NarvRspInfoRecord* info,
                                      int requestId, bool last) override {
        RecordReply(34, record, info, requestId, last);
    }
    void OnInvestorFeeRateQueryRsp(const NarvInvestorFeeRateRecord* record, const NarvRspInfoRecord* info,
                                   int requestId, bool last) override {
        RecordReply(35, record, info, requestId, last);
    }
    void OnExchangeQueryRsp(const NarvExchangeRecord* record, const NarvRspInfoRecord* info, int requestId,
                            bool last) override {
        RecordReply(36, record, info, requestId, last);
    }
    void OnProductQueryRsp(const NarvProductRecord* record, const NarvRspInfoRecord* info, int requestId,
                           bool last) override {
        RecordReply(37, record, info, requestId, last);
    }
    void OnInstrumentQueryRsp(const NarvInstrumentRecord* record, const NarvRspInfoRecord* info, int requestId,
                              bool last) override {
        RecordReply(38, record, info, requestId, last);
    }
    void OnQuotQueryRsp(const NarvQuotRecord* record, const NarvRspInfoRecord* info, int requestId,
                        bool last) override {
        RecordReply(39, record, info, requestId, last);
    }
    void OnExt52Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(40, record, info, requestId, last);
    }
    void OnExt53Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(41, record, info, requestId, last);
    }
    void OnPosiDetailQueryRsp(const NarvPosiDetailRecord* record, const NarvRspInfoRecord* info, int requestId,
                              bool last) override {
        RecordReply(42, record, info, requestId, last);
    }
    void OnExt55Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(43, record, info, requestId, last);
    }
    void OnSettlementConfirmQueryRsp(const NarvSettlementConfirmRecord* record, const NarvRspInfoRecord* info,
                                     int requestId, bool last) override {
        RecordReply(44, record, info, requestId, last);
    }
    void OnExt57Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(45, record, info, requestId, last);
    }
    void OnExt58Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(46, record, info, requestId, last);
    }
    void OnSpare47(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(47, record, info, requestId, last);
    }
    void OnSpare48(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(48, record, info, requestId, last);
    }
    void OnExchangeMarginRateQueryRsp(const NarvExchangeMarginRateRecord* record, const NarvRspInfoRecord* info,
                                      int requestId, bool last) override {
        RecordReply(49, record, info, requestId, last);
    }
    void OnSpare50(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(50, record, info, requestId, last);
    }
    void OnSpare51(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(51, record, info, requestId, last);
    }
    void OnSpare52(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(52, record, info, requestId, last);
    }
    void OnSpare53(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(53, record, info, requestId, last);
    }
    void OnExt66Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(54, record, info, requestId, last);
    }
    void OnSpare55(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(55, record, info, requestId, last);
    }
    void OnSpare56(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(56, record, info, requestId, last);
    }
    void OnExt69Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(57, record, info, requestId, last);
    }
    void OnSpare58(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(58, record, info, requestId, last);
    }
    void OnSpare59(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(59, record, info, requestId, last);
    }
    void OnExt72Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(60, record, info, requestId, last);
    }
    void OnExt73Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(61, record, info, requestId, last);
    }
    void OnExt74Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(62, record, info, requestId, last);
    }
    void OnExt75Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(63, record, info, requestId, last);
    }
    void OnExt76Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(64, record, info, requestId, last);
    }
    void OnExt77Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(65, record, info, requestId, last);
    }
    void OnExt78Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(66, record, info, requestId, last);
    }
    void OnExt79Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(67, record, info, requestId, last);
    }
    void OnExt80Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(68, record, info, requestId, last);
    }
    void OnExt81Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(69, record, info, requestId, last);
    }
    void OnExt82Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(70, record, info, requestId, last);
    }
    void OnExt83Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(71, record, info, requestId, last);
    }
    void OnSpare72(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(72, record, info, requestId, last);
    }
    void OnOrderNty(const NarvOrderRecord* record) override { RecordPush(73, record); }
    void OnTradeNty(const NarvTradeRecord* record) override { RecordPush(74, record); }
    void OnSpare75(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(75, record, info, requestId, last);
    }
    void OnSpare76(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(76, record, info, requestId, last);
    }
    void OnSpare77(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(77, record, info, requestId, last);
    }
    void OnSpare78(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(78, record, info, requestId, last);
    }
    void OnSpare79(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(79, record, info, requestId, last);
    }
    void OnSpare80(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(80, record, info, requestId, last);
    }
    void OnSpare81(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(81, record, info, requestId, last);
    }
    void OnSpare82(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(82, record, info, requestId, last);
    }
    void OnSpare83(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(83, record, info, requestId, last);
    }
    void OnSpare84(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(84, record, info, requestId, last);
    }
    void OnSpare85(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(85, record, info, requestId, last);
    }
    void OnSpare86(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(86, record, info, requestId, last);
    }
    void OnSpare87(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(87, record, info, requestId, last);
    }
    void OnSpare88(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(88, record, info, requestId, last);
    }
    void OnSpare89(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(89, record, info, requestId, last);
    }
    void OnSpare90(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(90, record, info, requestId, last);
    }
    void OnSpare91(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(91, record, info, requestId, last);
    }
    void OnSpare92(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(92, record, info, requestId, last);
    }
    void OnSpare93(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(93, record, info, requestId, last);
    }
    void OnSpare94(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(94, record, info, requestId, last);
    }
    void OnSpare95(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(95, record, info, requestId, last);
    }
    void OnExt84Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(96, record, info, requestId, last);
    }
    void OnExt85Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(97, record, info, requestId, last);
    }
    void OnExt86Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(98, record, info, requestId, last);
    }
    void OnExt87Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(99, record, info, requestId, last);
    }
    void OnCurrencyQueryRsp(const NarvCurrencyRecord* record, const NarvRspInfoRecord* info, int requestId,
                            bool last) override {
        RecordReply(100, record, info, requestId, last);
    }
    void OnExt89Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(101, record, info, requestId, last);
    }
    void OnExt90Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(102, record, info, requestId, last);
    }
    void OnSpare103(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(103, record, info, requestId, last);
    }
    void OnSpare104(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(104, record, info, requestId, last);
    }
    void OnSpare105(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(105, record, info, requestId, last);
    }
    void OnSpare106(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(106, record, info, requestId, last);
    }
    void OnSpare107(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(107, record, info, requestId, last);
    }
    void OnSpare108(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(108, record, info, requestId, last);
    }
    void OnSpare109(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(109, record, info, requestId, last);
    }
    void OnSpare110(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(110, record, info, requestId, last);
    }
    void OnSpare111(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(111, record, info, requestId, last);
    }
    void OnSpare112(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(112, record, info, requestId, last);
    }
    void OnSpare113(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(113, record, info, requestId, last);
    }
    void OnSpare114(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(114, record, info, requestId, last);
    }
    void OnSpare115(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(115, record, info, requestId, last);
    }
    void OnSpare116(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(116, record, info, requestId, last);
    }
    void OnSpare117(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(117, record, info, requestId, last);
    }
    void OnSpare118(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(118, record, info, requestId, last);
    }
    void OnSpare119(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(119, record, info, requestId, last);
    }
    void OnSpare120(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(120, record, info, requestId, last);
    }
    void OnExt93Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(121, record, info, requestId, last);
    }
    void OnSpare122(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(122, record, info, requestId, last);
    }
    void OnSpare123(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(123, record, info, requestId, last);
    }
    void OnSpare124(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(124, record, info, requestId, last);
    }
    void OnExt94Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(125, record, info, requestId, last);
    }
    void OnExt95Rsp(const void* record, const NarvRspInfoRecord* info, int requestId, bool last) override {
        RecordReply(126, record, info, requestId, last);
    }

private:
    void Store(Call call) {
        if (released_.load()) {
            ++lateCalls_;
        }
        call.thread = std::this_thread::get_id();
        calls_.Add(std::move(call));
    }
    // The hook runs before anything of the call is looked at, so that what it does in the middle of a
    // callback shows in what the callback received.
    void RunHook(int position) {
        std::function<void()> hook;
        {
            std::lock_guard<std::mutex> lock(hooksMutex_);
            auto found = hooks_.find(position);
            if (found != hooks_.end()) {
                hook = std::move(found->second);
                hooks_.erase(found);
            }
        }
        if (hook) {
            hook();
        }
    }
    void RecordEvent(int position, int reason) {
        RunHook(position);
        Call call;
        call.position = position;
        call.reason = reason;
        Store(std::move(call));
    }
    template <class Record>
    void RecordPush(int position, const Record* record) {
        RecordReply(position, record, nullptr, 0, true);
    }
    template <class Record>
    void RecordReply(int position, const Record* record, const NarvRspInfoRecord* info, int requestId, bool last) {
        RunHook(position);
        Call call;
        call.position = position;
        call.recordPointer = record;
        if constexpr (!std::is_void_v<Record>) {
            if (record != nullptr) {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
                call.record.assign(bytes, bytes + sizeof(Record));
            }
        }
        call.hasInfo = info != nullptr;
        if (info != nullptr) {
            call.info = *info;
        }
        call.requestId = requestId;
        call.last = last;
        Store(std::move(call));
    }

    CEventRecord<Call> calls_;
    std::mutex hooksMutex_;
    std::map<int, std::function<void()>> hooks_;
    std::atomic<bool> released_{false};
    std::atomic<int> lateCalls_{0};
};

// Writes text at a byte offset of a record (for request fields the exported header leaves unnamed).
inline void PutText(void* record, std::size_t offset, const char* text) {
    std::memcpy(static_cast<char*>(record) + offset, text, std::strlen(text) + 1);
}

}  // namespace traderapi_test
