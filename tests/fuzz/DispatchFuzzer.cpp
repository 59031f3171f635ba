// Arbitrary bytes as one received envelope, dispatched into the trade client and into the quote client,
// each with its application-facing object attached as its callback object, and that object with an
// application behind it that reads every record it is handed. Whatever a front sends, the conversion
// must neither fault nor hand the application a text without its terminator.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "APIPackage.h"
#include "ConnectionOwner.h"
#include "NELOQuotApiImp.h"
#include "NELOTradeApiImp.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "SqelMdApiImpl.h"
#include "SqelTraderApiImpl.h"

namespace {

volatile unsigned g_readSum;  // keeps the reads below from being optimised away

// Reads every byte of a record, so that a pointer to anything but a whole live record is reported.
template <class Record>
void ReadAll(const Record* record) {
    if (record == nullptr) return;
    const auto* bytes = reinterpret_cast<const volatile unsigned char*>(record);
    unsigned sum = 0;
    for (std::size_t i = 0; i < sizeof(Record); ++i) sum += bytes[i];
    g_readSum = sum;
}

template <std::size_t N>
void ExpectTerminated(const char (&text)[N]) {
    if (std::memchr(text, '\0', N) == nullptr) std::abort();
}

void ReadInfo(const NarvRspInfoRecord* info) {
    ReadAll(info);
    if (info != nullptr) ExpectTerminated(info->ErrorMsg);
}

#define NARV_READ_REPLY(Callback, Record)                                                    \
    void Callback(const Record* record, const NarvRspInfoRecord* info, int, bool) override { \
        ReadAll(record);                                                                     \
        ReadInfo(info);                                                                      \
    }

class CReadingTraderSpi final : public CNarvSqelTraderSpi {
public:
    NARV_READ_REPLY(OnLoginRsp, NarvLoginRspRecord)
    NARV_READ_REPLY(OnLogoutRsp, NarvLogoutRecord)
    NARV_READ_REPLY(OnChangePasswordRsp, NarvChangePasswordRecord)
    NARV_READ_REPLY(OnInputOrderRsp, NarvInputOrderRecord)
    NARV_READ_REPLY(OnOrderCancelRsp, NarvOrderActionRecord)
    NARV_READ_REPLY(OnOrderQueryRsp, NarvOrderRecord)
    NARV_READ_REPLY(OnTradeQueryRsp, NarvTradeRecord)
    NARV_READ_REPLY(OnPosiQueryRsp, NarvPosiRecord)
    NARV_READ_REPLY(OnFundQueryRsp, NarvFundRecord)
    NARV_READ_REPLY(OnInvestorMarginRateQueryRsp, NarvInvestorMarginRateRecord)
    NARV_READ_REPLY(OnInvestorFeeRateQueryRsp, NarvInvestorFeeRateRecord)
    NARV_READ_REPLY(OnExchangeQueryRsp, NarvExchangeRecord)
    NARV_READ_REPLY(OnProductQueryRsp, NarvProductRecord)
    NARV_READ_REPLY(OnInstrumentQueryRsp, NarvInstrumentRecord)
    NARV_READ_REPLY(OnQuotQueryRsp, NarvQuotRecord)
    NARV_READ_REPLY(OnPosiDetailQueryRsp, NarvPosiDetailRecord)
    NARV_READ_REPLY(OnExchangeMarginRateQueryRsp, NarvExchangeMarginRateRecord)
    void OnOrderNty(const NarvOrderRecord* order) override {
        ReadAll(order);
        ExpectTerminated(order->InstrumentID);
    }
    void OnTradeNty(const NarvTradeRecord* trade) override {
        ReadAll(trade);
        ExpectTerminated(trade->InstrumentID);
    }
};

class CReadingMdSpi final : public CNarvSqelMdSpi {
public:
    NARV_READ_REPLY(OnLoginRsp, NarvLoginRspRecord)
    NARV_READ_REPLY(OnLogoutRsp, NarvLogoutRecord)
    NARV_READ_REPLY(OnQuotSubscribeRsp, NarvQuotInstrumentRecord)
    NARV_READ_REPLY(OnQuotUnSubscribeRsp, NarvQuotInstrumentRecord)
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* quote) override {
        ReadAll(quote);
        ExpectTerminated(quote->InstrumentID);
        ExpectTerminated(quote->ExchangeID);
        ExpectTerminated(quote->TradingDay);
    }
};

#undef NARV_READ_REPLY

// One fresh set of objects per input, so that an input found to fail fails again on its own.
struct Clients {
    CReadingTraderSpi traderApplication;
    CReadingMdSpi mdApplication;
    CSqelTraderApiImpl* traderApi = CSqelTraderApiImpl::Create();
    CSqelMdApiImpl* mdApi = new CSqelMdApiImpl;
    CNELOTradeApiImp* tradeClient = new CNELOTradeApiImp;
    quot::CNELOQuotApiImp* quoteClient = new quot::CNELOQuotApiImp;

    Clients() {
        traderApi->RegisterSpi(&traderApplication);
        mdApi->RegisterSpi(&mdApplication);
        tradeClient->RegisterSpi(traderApi);
        quoteClient->RegisterSpi(mdApi);
    }
    ~Clients() {
        quoteClient->Release();
        tradeClient->Release();
        mdApi->Release();
        traderApi->Release();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kAPIMessageMaxSize) return 0;  // the connection never hands on more than one frame holds
    // An exact-size copy: any read past the message is a reported overflow.
    std::unique_ptr<std::uint8_t[]> message(new std::uint8_t[size ? size : 1]);
    std::memcpy(message.get(), data, size);
    Clients clients;
    for (int client = 0; client < 2; ++client) {
        CAPIPackage package;
        package.OpenReceived(message.get(), static_cast<std::uint32_t>(size));
        // The quote client takes its messages as a connection owner, which it is only privately; the
        // cast reaches that base the way its own connection does.
        CConnectionOwner& owner = client == 0 ? static_cast<CConnectionOwner&>(*clients.tradeClient)
                                              : (CConnectionOwner&)(*clients.quoteClient);
        if (owner.DispatchPackage(package) < 0) std::abort();  // neither client refuses a message
    }
    return 0;
}
