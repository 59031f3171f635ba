// The one place where the application's one-character codes meet the back end's letters. Every
// mapping is a table of pairs with the value taken by any code the table does not list.
#pragma once

#include <cstddef>
#include <cstdint>

struct TraderCodePair {
    char from;
    char to;
};

class CTraderCodeMap final {
public:
    template <std::size_t N>
    constexpr CTraderCodeMap(const TraderCodePair (&pairs)[N], char otherwise)
        : pairs_(pairs), count_(N), otherwise_(otherwise) {}

    char Map(char code) const {
        for (std::size_t i = 0; i < count_; ++i) {
            if (pairs_[i].from == code) {
                return pairs_[i].to;
            }
        }
        return otherwise_;
    }

private:
    const TraderCodePair* pairs_;
    std::size_t count_;
    char otherwise_;
};

// Order entry, application → back end.
extern const CTraderCodeMap kPriceTypeToWire;
extern const CTraderCodeMap kBSFlagToWire;
// OCFlag depends on the exchange: only the exchanges that keep today's positions apart close today.
extern const CTraderCodeMap kOCFlagToWireCloseTodayExchange;
extern const CTraderCodeMap kOCFlagToWireOtherExchange;
bool TraderIsCloseTodayExchange(const char* exchangeID);

// Orders and trades, back end → application.
extern const CTraderCodeMap kPriceTypeFromWire;
extern const CTraderCodeMap kBSFlagFromWire;
extern const CTraderCodeMap kOCFlagFromWire;

// Order status: the back end's letter and whether the order is still untouched (Qty == QtyLeft).
char TraderOrderStatusFromWire(char wireStatus, bool untouched);
// The fixed GBK text of an application order status; empty for a status without one.
const char* TraderOrderStatusText(char status);

// Positions.
extern const CTraderCodeMap kPosiBSFlagFromWire;
extern const CTraderCodeMap kPositionDateFromWire;

// Instruments and products.
extern const CTraderCodeMap kInstrumentTypeFromWire;
extern const CTraderCodeMap kProductTypeFromWire;
extern const CTraderCodeMap kOptionsTypeFromWire;

// Product query class → back-end InstrumentType; kProductClassNotSupported marks the classes answered
// locally with "Not supported", 0 asks for every class.
constexpr char kProductClassNotSupported = '\x7f';
extern const CTraderCodeMap kProductClassToWire;

// SetAccountFlowResume / SetMarketFlowResume argument → the trade client's subscription mode
// (0 = do not subscribe).
std::int32_t TraderFlowResumeMode(int applicationMode);
