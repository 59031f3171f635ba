// The static side of the trade service: instruments, products, exchanges and the investors' rates, all
// derived from the configuration.
#pragma once

#include <string>
#include <vector>

#include "NELOQueryRecords.h"
#include "SimConfig.h"
#include "TradingDesk.h"

class CReferenceData {
public:
    explicit CReferenceData(const SimConfig& config);

    std::vector<NELOInstrumentRecord> Instruments(const SimQueryFilter& filter) const;
    std::vector<NELOProductRecord> Products(const std::string& exchangeId, const std::string& productId) const;
    std::vector<NELOExchangeRecord> Exchanges(const std::string& exchangeId) const;
    std::vector<NELOFeeRateRecord> FeeRates(const std::string& investorId, const SimQueryFilter& filter) const;
    std::vector<NELOMarginRateRecord> MarginRates(const std::string& investorId, const SimQueryFilter& filter) const;

private:
    bool Matches(const SimInstrument& instrument, const SimQueryFilter& filter) const;

    const SimConfig& config_;
};

// The product of an instrument: its leading letters ("cu" of "cu2601").
std::string SimProductOf(const std::string& instrumentId);
// Expiry YYYY-MM-DD from the instrument's year-month digits ("2601" → 2026-01-15, CZCE's "605" → 2026-05-15);
// empty when the id carries no such digits.
std::string SimExpiryOf(const std::string& instrumentId, const std::string& tradingDay);
