// Conversions both facades apply to the back end's replies. They are templates over the records so that
// this layer needs neither the service clients' headers nor the exported one: each facade instantiates
// them with its own back-end records and the exported records both libraries share.
//
// Thread safety: pure functions of their arguments.
#pragma once

#include <cstdint>
#include <cstring>

#include "FacadeClock.h"
#include "FacadeText.h"

// The back end's reply code and text: the 16-bit code zero-extended (0xFFFF is 65535, not -1), the text
// cut at 80 characters.
template <class Received, class Exported>
void FacadeFillRspInfo(const Received& source, Exported* target) {
    *target = Exported{};
    target->ErrorID = static_cast<std::uint16_t>(source.RspNo);
    FacadeCopyText(target->ErrorMsg, source.RspDesc, 80);
}

// The login reply both libraries hand out: the trading day and session numbers from the back end's
// record, the firm and investor from the login request, the local time as login time and as the five
// stamps, and "1" as the first order reference.
template <class Received, class Exported>
void FacadeFillLoginRsp(const Received& source, const char (&firmID)[11], const char (&investorID)[16],
                        const FacadeLocalTime& now, Exported* target) {
    *target = Exported{};
    FacadeCopyDashlessDate(target->TradingDay, source.TradeDate);
    CFacadeLocalClock::FormatTime(now, target->LoginTime);
    FacadeCopyText(target->FirmID, firmID, 10);
    FacadeCopyText(target->InvestorID, investorID, 15);
    FacadeCopyText(target->SysName, source.SysName, 40);
    target->FrontID = FacadeFrontOf(source.SessionID);
    target->SessionID = FacadeSessionOf(source.SessionID);
    FacadeCopyString(target->InitialOrderRef, "1", 12);
    char(*stamps[])[9] = {&target->StampTime1, &target->StampTime2, &target->StampTime3, &target->StampTime4,
                          &target->StampTime5};
    for (auto* stamp : stamps) {
        std::memcpy(*stamp, target->LoginTime, sizeof(target->LoginTime));
    }
}
