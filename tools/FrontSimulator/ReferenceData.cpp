#include "ReferenceData.h"

#include <cctype>
#include <cstdio>

#include "SimText.h"

namespace {

struct ExchangeName {
    const char* id;
    const char* name;
};

constexpr ExchangeName kExchangeNames[] = {
    {"SHFE", "Shanghai Futures Exchange"},         {"INE", "Shanghai International Energy Exchange"},
    {"DCE", "Dalian Commodity Exchange"},          {"CZCE", "Zhengzhou Commodity Exchange"},
    {"CFFEX", "China Financial Futures Exchange"}, {"GFEX", "Guangzhou Futures Exchange"},
};

std::string NameOfExchange(const std::string& id) {
    for (const auto& row : kExchangeNames)
        if (id == row.id) return row.name;
    return id;
}

}  // namespace

std::string SimProductOf(const std::string& instrumentId) {
    std::string product;
    for (char c : instrumentId) {
        if (!std::isalpha(static_cast<unsigned char>(c))) break;
        product += c;
    }
    return product;
}

std::string SimExpiryOf(const std::string& instrumentId, const std::string& tradingDay) {
    const std::string digits = instrumentId.substr(SimProductOf(instrumentId).size());
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    int year = 0, month = 0;
    if (digits.size() == 4) {
        year = 2000 + std::stoi(digits.substr(0, 2));
        month = std::stoi(digits.substr(2));
    } else if (digits.size() == 3 && tradingDay.size() >= 4) {
        // One year digit: the decade of the trading day.
        year = std::stoi(tradingDay.substr(0, 3)) * 10 + (digits[0] - '0');
        month = std::stoi(digits.substr(1));
    } else {
        return {};
    }
    if (month < 1 || month > 12) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-15", year, month);
    return text;
}

CReferenceData::CReferenceData(const SimConfig& config) : config_(config) {}

bool CReferenceData::Matches(const SimInstrument& instrument, const SimQueryFilter& filter) const {
    return (filter.instrumentId.empty() || filter.instrumentId == instrument.instrumentId) &&
           (filter.exchangeId.empty() || filter.exchangeId == instrument.exchangeId);
}

std::vector<NELOInstrumentRecord> CReferenceData::Instruments(const SimQueryFilter& filter) const {
    std::vector<NELOInstrumentRecord> rows;
    for (const auto& contract : config_.instruments) {
        if (!Matches(contract, filter)) continue;
        NELOInstrumentRecord r{};
        SimCopy(r.InstrumentID, contract.instrumentId);
        SimCopy(r.InstrumentName, contract.instrumentId);
        r.FeeType = 'R';  // a rate of the traded value
        r.FeeRate = contract.feeRate;
        r.MarginRateType = 'R';
        r.MarginRate = contract.marginRate;
        r.DailyPriceLimit = config_.priceLimitRate;
        r.TradeUnit = contract.multiplier;
        r.MinMovement = contract.tick;
        r.PriceScale = 1.0;
        r.PriceCoefficient = 1.0;
        r.InstrumentStatus = '1';
        r.PriceMultiply = contract.multiplier;
        r.EachQtyLimt = config_.maxOrderQty;
        r.TotalQtyLimt = config_.maxOrderQty * 10;
        SimCopy(r.GoodsName, SimProductOf(contract.instrumentId));
        SimCopy(r.ExchangeID, contract.exchangeId);
        r.InstrumentType = 'F';
        r.CloseFeeRate = contract.feeRate;
        r.CloseTodayFeeRate = contract.feeRate;
        const std::string expiry = SimExpiryOf(contract.instrumentId, config_.tradingDay);
        SimCopy(r.ExpiredDate, expiry);
        SimCopy(r.DeliveryDate, expiry);
        if (!expiry.empty()) SimCopy(r.OpenDate, std::to_string(std::stoi(expiry.substr(0, 4)) - 1) + expiry.substr(4));
        r.ShortAllowed = 1;
        rows.push_back(r);
    }
    return rows;
}

std::vector<NELOProductRecord> CReferenceData::Products(const std::string& exchangeId,
                                                        const std::string& productId) const {
    std::vector<NELOProductRecord> rows;
    for (const auto& contract : config_.instruments) {
        const std::string product = SimProductOf(contract.instrumentId);
        if ((!exchangeId.empty() && exchangeId != contract.exchangeId) || (!productId.empty() && productId != product))
            continue;
        bool seen = false;
        for (const auto& row : rows)
            seen |= SimText(row.ProductID) == product && SimText(row.ExchangeID) == contract.exchangeId;
        if (seen) continue;
        NELOProductRecord r{};
        SimCopy(r.ExchangeID, contract.exchangeId);
        r.InstrumentType = 'F';
        SimCopy(r.ProductID, product);
        SimCopy(r.ProductName, product);
        rows.push_back(r);
    }
    return rows;
}

std::vector<NELOExchangeRecord> CReferenceData::Exchanges(const std::string& exchangeId) const {
    std::vector<NELOExchangeRecord> rows;
    for (const auto& contract : config_.instruments) {
        if (!exchangeId.empty() && exchangeId != contract.exchangeId) continue;
        bool seen = false;
        for (const auto& row : rows) seen |= SimText(row.ExchangeID) == contract.exchangeId;
        if (seen) continue;
        NELOExchangeRecord r{};
        SimCopy(r.ExchangeID, contract.exchangeId);
        SimCopy(r.ExchangeName, NameOfExchange(contract.exchangeId));
        rows.push_back(r);
    }
    return rows;
}

std::vector<NELOFeeRateRecord> CReferenceData::FeeRates(const std::string& investorId,
                                                        const SimQueryFilter& filter) const {
    std::vector<NELOFeeRateRecord> rows;
    for (const auto& contract : config_.instruments) {
        if (!Matches(contract, filter)) continue;
        NELOFeeRateRecord r{};
        SimCopy(r.InvestorID, investorId);
        SimCopy(r.ExchangeID, contract.exchangeId);
        SimCopy(r.InstrumentID, contract.instrumentId);
        r.FeeType = 'R';
        r.FeeRate = contract.feeRate;
        r.CloseFeeRate = contract.feeRate;
        r.CloseTodayFeeRate = contract.feeRate;
        rows.push_back(r);
    }
    return rows;
}

std::vector<NELOMarginRateRecord> CReferenceData::MarginRates(const std::string& investorId,
                                                              const SimQueryFilter& filter) const {
    std::vector<NELOMarginRateRecord> rows;
    for (const auto& contract : config_.instruments) {
        if (!Matches(contract, filter)) continue;
        NELOMarginRateRecord r{};
        SimCopy(r.InvestorID, investorId);
        SimCopy(r.ExchangeID, contract.exchangeId);
        SimCopy(r.InstrumentID, contract.instrumentId);
        r.MarginRateType = 'R';
        r.LongMarginRate = contract.marginRate;
        r.ShortMarginRate = contract.marginRate;
        rows.push_back(r);
    }
    return rows;
}
