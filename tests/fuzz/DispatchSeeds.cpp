// Writes the seed envelopes of corpus/dispatch: one well-formed message for every reply and push of
// the trade and the quote service, each record filled to the brim (every text at its full width), so
// that the fuzzer starts from messages that reach every decoder and every conversion.
//
//     narv_dispatch_seeds <corpus directory>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "APIPackage.h"
#include "NELOAccountRecords.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOQueryRecords.h"
#include "NELOQuotRecords.h"
#include "NELOSessionRecords.h"
#include "TZORecordLayout.h"

namespace {

struct Seed {
    const char* name;
    std::uint16_t serviceNo;
    std::int32_t requestId;  // the kind, for flow pushes
    std::int32_t endFlag;    // the sequence, for flow pushes
    std::uint16_t groupId;
    const TZORecordLayout* layout;
    bool list;
    bool rspInfo;
};

// clang-format off
const Seed kSeeds[] = {
    {"trade-login",            117, 1, 0, TZOField::LoginRsp.id,              &kNELOLoginRspLayout,           false, true},
    {"trade-logout",           119, 2, 0, TZOField::LogoutRsp.id,             &kNELOInvestorLayout,           false, true},
    {"trade-password",         121, 3, 0, TZOField::ChangePasswordRsp.id,     &kNELOInvestorLayout,           false, true},
    {"trade-input-order",      123, 4, 0, TZOField::InputOrder.id,            &kNELOInputOrderLayout,         false, true},
    {"trade-cancel",           128, 5, 0, TZOField::OrderCancelRsp.id,        &kNELOOrderCancelLayout,        false, true},
    {"trade-quot-list",        132, 6, 0, TZOField::QuotList.id,              &kNELOQuotLayout,               true,  true},
    {"trade-order-list",       138, 7, 0, TZOField::OrderList.id,             &kNELOOrderLayout,              true,  true},
    {"trade-trade-list",       140, 8, 0, TZOField::TradeList.id,             &kNELOTradeLayout,              true,  true},
    {"trade-posi-list",        142, 9, 1, TZOField::PosiList.id,              &kNELOPosiLayout,               true,  true},
    {"trade-fund-list",        144, 10, 0, TZOField::FundList.id,             &kNELOFundLayout,               true,  true},
    {"trade-instrument-list",  146, 11, 0, TZOField::InstrumentList.id,       &kNELOInstrumentLayout,         true,  true},
    {"trade-posidetail-list",  148, 12, 0, TZOField::PosiDetailList.id,       &kNELOPosiDetailLayout,         true,  true},
    {"trade-plstop",           155, 13, 0, TZOField::ProfitLossStopSetRsp.id, &kNELOProfitLossStopLayout,     false, true},
    {"trade-input-order-ex",   160, 14, 0, TZOField::InputOrder.id,           &kNELOInputOrderLayout,         false, true},
    {"trade-bulletin-list",    162, 15, 0, TZOField::BulletinList.id,         &kNELOBulletinLayout,           true,  true},
    {"trade-notice-list",      164, 16, 0, TZOField::NoticeList.id,           &kNELONoticeLayout,             true,  true},
    {"trade-fund-io",          168, 17, 0, TZOField::ElectronicFundIORsp.id,  &kNELOFundTransferRspLayout,    false, true},
    {"trade-fund-io-list",     171, 18, 0, TZOField::FundIODetailList.id,     &kNELOFundIODetailLayout,       true,  true},
    {"trade-report-list",      173, 19, 0, TZOField::ReportList.id,           &kNELOReportLayout,             true,  true},
    {"trade-bind",             197, 20, 0, TZOField::AccountBindRsp.id,       &kNELOAccountBindRspLayout,     false, true},
    {"trade-bind-list",        199, 21, 0, TZOField::AccountBindList.id,      &kNELOAccountBindLayout,        true,  true},
    {"trade-bind-push",        210, 0, 0,  TZOField::AccountBind.id,          &kNELOAccountBindLayout,        false, false},
    {"trade-product-list",     302, 22, 0, TZOField::ProductList.id,          &kNELOProductLayout,            true,  true},
    {"trade-exchange-list",    304, 23, 0, TZOField::ExchangeList.id,         &kNELOExchangeLayout,           true,  true},
    {"trade-feerate-list",     306, 24, 0, TZOField::InvestorFeeRateList.id,  &kNELOFeeRateLayout,            true,  true},
    {"trade-margin-list",      308, 25, 0, TZOField::InvestorMarginRateList.id, &kNELOInvestorMarginRateLayout, true, true},
    {"trade-exmargin-list",    310, 26, 0, TZOField::ExchangeMarginRateList.id, &kNELOExchangeMarginRateLayout, true, true},
    {"trade-flow-subscribe",   4,   0, 0,  TZOField::FlowSubscribeRspList.id, &kNELOFlowSubscribeLayout,      true,  true},
    {"flow1-order",            1, 124, 1,  TZOField::Order.id,                &kNELOOrderLayout,              false, false},
    {"flow1-trade",            1, 130, 2,  TZOField::Trade.id,                &kNELOTradeLayout,              false, false},
    {"flow1-posidetail",       1, 156, 3,  TZOField::PosiDetail.id,           &kNELOPosiDetailLayout,         false, false},
    {"flow1-fund",             1, 157, 4,  TZOField::Fund.id,                 &kNELOFundLayout,               false, false},
    {"flow1-posi",             1, 158, 5,  TZOField::Posi.id,                 &kNELOPosiLayout,               false, false},
    {"flow1-notice",           1, 166, 6,  TZOField::Notice.id,               &kNELONoticeLayout,             false, false},
    {"flow1-fund-io",          1, 169, 7,  TZOField::ElectronicFundIONty.id,  &kNELOFundTransferNtyLayout,    false, false},
    {"flow2-market-status",    2, 129, 1,  TZOField::MarketStatusNty.id,      &kNELOMarketStatusLayout,       false, false},
    {"flow2-bulletin",         2, 165, 2,  TZOField::Bulletin.id,             &kNELOBulletinLayout,           false, false},
    {"quote-login",            117, 1, 0, TZOField::LoginRsp.id,              &quot::kNELOLoginRspLayout,    false, true},
    {"quote-logout",           119, 2, 0, TZOField::LogoutRsp.id,             &quot::kNELOInvestorLayout,    false, true},
    {"quote-subscribe",        8,   0, 0, TZOField::QuotSubscribeRsp.id,      &quot::kNELOInstrumentLayout,  false, true},
    {"quote-unsubscribe",      10,  0, 0, TZOField::QuotUnSubscribeRsp.id,    &quot::kNELOInstrumentLayout,  false, true},
    {"quote-push",             125, 0, 0, TZOField::Quot.id,                  &quot::kNELOQuotLayout,        false, false},
    {"quote-min-list",         151, 3, 0, TZOField::MinDataList.id,           &quot::kNELOMinDataLayout,     true,  true},
    {"quote-day-list",         153, 4, 0, TZOField::DayDataList.id,           &quot::kNELODayDataLayout,     true,  true},
    {"quote-detail-list",      212, 5, 0, TZOField::TradeDetailDataList.id,   &quot::kNELOTradeDetailLayout, true,  true},
};
// clang-format on

// Every text at its full width, every character and number non-zero; dates and times where a member
// is just wide enough to hold one, so that the conversions that reshape them have something to do.
std::vector<std::uint8_t> FullRecord(const TZORecordLayout& layout) {
    std::vector<std::uint8_t> record(layout.recordSize, 0);
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        std::uint8_t* member = record.data() + slot.offset;
        if (slot.field->type == 'C' && slot.size > 1) {
            const char* text = slot.size == 11 ? "2026-12-10" : slot.size == 9 ? "11:20:33" : nullptr;
            if (text)
                std::memcpy(member, text, slot.size - 1);
            else
                std::memset(member, '7', slot.size - 1);
        } else if (slot.field->type == 'C') {
            *member = '1';
        } else if (slot.field->type == 'D') {
            const double value = 1.5;
            std::memcpy(member, &value, sizeof value);
        } else {
            member[0] = 3;  // small and positive whatever the width
        }
    }
    return record;
}

std::vector<std::uint8_t> Envelope(const Seed& seed) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize);
    CAPIPackage package;
    package.Begin(seed.serviceNo, seed.requestId, buffer.data());
    package.SetEndFlag(seed.endFlag);
    if (seed.rspInfo) {
        std::vector<std::uint8_t> info = FullRecord(kNELORspInfoLayout);
        std::memset(info.data(), 0, 2);  // success, or the replies are not looked at
        TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, info.data());
    }
    const std::vector<std::uint8_t> record = FullRecord(*seed.layout);
    if (seed.list) {
        CTZORecordSet rows;
        package.AddRecordSet(seed.groupId, &rows);
        for (int i = 0; i < 2; ++i) TZOAddRecordToSet(rows, *seed.layout, record.data());
    } else {
        TZOAddRecord(package, seed.groupId, *seed.layout, record.data());
    }
    buffer.resize(package.Length());
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    for (const Seed& seed : kSeeds) {
        const std::vector<std::uint8_t> bytes = Envelope(seed);
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
