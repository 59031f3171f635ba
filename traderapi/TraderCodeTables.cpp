#include "TraderCodeTables.h"

#include <cstring>

namespace {

const TraderCodePair kPriceTypeToWirePairs[] = {{'1', 'M'}};
const TraderCodePair kBSFlagToWirePairs[] = {{'0', 'B'}};
const TraderCodePair kOCFlagCloseTodayPairs[] = {{'0', 'O'}, {'3', 'T'}};
const TraderCodePair kOCFlagOtherPairs[] = {{'0', 'O'}};

const TraderCodePair kPriceTypeFromWirePairs[] = {{'M', '1'}};
const TraderCodePair kBSFlagFromWirePairs[] = {{'B', '0'}};
const TraderCodePair kOCFlagFromWirePairs[] = {{'T', '3'}, {'C', '1'}};

const TraderCodePair kPosiBSFlagPairs[] = {{'B', '2'}};
const TraderCodePair kPositionDatePairs[] = {{'1', '1'}};

const TraderCodePair kInstrumentTypePairs[] = {{'F', '1'}, {'O', '2'}, {'S', '4'}, {'B', 'B'}, {'D', 'D'}, {'E', 'E'}};
const TraderCodePair kProductTypePairs[] = {{'F', '1'}, {'O', '2'}, {'B', '4'}, {'D', '4'}, {'E', '4'}};
const TraderCodePair kOptionsTypePairs[] = {{'C', '1'}};

const TraderCodePair kProductClassPairs[] = {{'1', 'F'},
                                             {'2', 'O'},
                                             {'3', kProductClassNotSupported},
                                             {'4', kProductClassNotSupported},
                                             {'5', kProductClassNotSupported},
                                             {'6', kProductClassNotSupported}};

const char* const kCloseTodayExchanges[] = {"SHFE", "INE"};

struct OrderStatusRow {
    char wire;
    char untouched;      // Qty == QtyLeft
    char partlyTouched;  // some of the quantity is gone
};
const OrderStatusRow kOrderStatusRows[] = {{'C', '5', '5'}, {'F', '0', '0'}, {'I', '3', '1'}};
constexpr char kOrderStatusOtherwise = 'a';

struct OrderStatusTextRow {
    char status;
    const char* text;
};
const OrderStatusTextRow kOrderStatusTexts[] = {
    {'0', "\xc8\xab\xb2\xbf\xb3\xc9\xbd\xbb"},  // 全部成交
    {'5', "\xd2\xd1\xb3\xb7\xcf\xfb"},          // 已撤消
    {'a', "\xd2\xd1\xca\xdc\xc0\xed"},          // 已受理
    {'3', "\xd2\xd1\xb1\xa8\xc8\xeb"},          // 已报入
    {'1', "\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb"},  // 部分成交
};

struct FlowResumeRow {
    int application;
    std::int32_t client;
};
// 1 replays from the beginning, 2 resumes after the last push seen, 3 takes new pushes only.
const FlowResumeRow kFlowResumeRows[] = {{0, 1}, {1, 2}, {2, 3}};

}  // namespace

const CTraderCodeMap kPriceTypeToWire(kPriceTypeToWirePairs, 'L');
const CTraderCodeMap kBSFlagToWire(kBSFlagToWirePairs, 'S');
const CTraderCodeMap kOCFlagToWireCloseTodayExchange(kOCFlagCloseTodayPairs, 'C');
const CTraderCodeMap kOCFlagToWireOtherExchange(kOCFlagOtherPairs, 'C');

const CTraderCodeMap kPriceTypeFromWire(kPriceTypeFromWirePairs, '2');
const CTraderCodeMap kBSFlagFromWire(kBSFlagFromWirePairs, '1');
const CTraderCodeMap kOCFlagFromWire(kOCFlagFromWirePairs, '0');

const CTraderCodeMap kPosiBSFlagFromWire(kPosiBSFlagPairs, '3');
const CTraderCodeMap kPositionDateFromWire(kPositionDatePairs, '2');

const CTraderCodeMap kInstrumentTypeFromWire(kInstrumentTypePairs, '\0');
const CTraderCodeMap kProductTypeFromWire(kProductTypePairs, '\0');
const CTraderCodeMap kOptionsTypeFromWire(kOptionsTypePairs, '2');

const CTraderCodeMap kProductClassToWire(kProductClassPairs, '\0');

bool TraderIsCloseTodayExchange(const char* exchangeID) {
    for (const char* exchange : kCloseTodayExchanges) {
        if (std::strcmp(exchange, exchangeID) == 0) {
            return true;
        }
    }
    return false;
}

char TraderOrderStatusFromWire(char wireStatus, bool untouched) {
    for (const OrderStatusRow& row : kOrderStatusRows) {
        if (row.wire == wireStatus) {
            return untouched ? row.untouched : row.partlyTouched;
        }
    }
    return kOrderStatusOtherwise;
}

const char* TraderOrderStatusText(char status) {
    for (const OrderStatusTextRow& row : kOrderStatusTexts) {
        if (row.status == status) {
            return row.text;
        }
    }
    return "";
}

std::int32_t TraderFlowResumeMode(int applicationMode) {
    for (const FlowResumeRow& row : kFlowResumeRows) {
        if (row.application == applicationMode) {
            return row.client;
        }
    }
    return 0;
}
