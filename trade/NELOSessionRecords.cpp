#include "NELOSessionRecords.h"

namespace {

const TZOFieldSlot kRspInfoSlots[] = {
    TZO_MEMBER(NELORspInfoRecord, RspNo),
    TZO_MEMBER(NELORspInfoRecord, RspDesc),
};

const TZOFieldSlot kLoginReqSlots[] = {
    TZO_MEMBER(NELOLoginReqRecord, InvestorID),
    TZO_MEMBER(NELOLoginReqRecord, InvestorPassword),
    TZO_MEMBER(NELOLoginReqRecord, IP),
    TZO_MEMBER(NELOLoginReqRecord, ProductType),
    TZO_MEMBER(NELOLoginReqRecord, ProductVersion),
    TZO_MEMBER(NELOLoginReqRecord, UserProductInfo),
    TZO_MEMBER(NELOLoginReqRecord, InterfaceProductInfo),
    TZO_MEMBER(NELOLoginReqRecord, MacAddress),
};

// SysMode and SessionID share wire id 1638; the order of the rows keeps them apart.
const TZOFieldSlot kLoginRspSlots[] = {
    TZO_MEMBER(NELOLoginRspRecord, InvestorID),
    TZO_MEMBER(NELOLoginRspRecord, TradeDate),
    TZO_MEMBER(NELOLoginRspRecord, InvestorName),
    TZO_MEMBER(NELOLoginRspRecord, SysName),
    TZO_MEMBER(NELOLoginRspRecord, SysMode),
    TZO_MEMBER(NELOLoginRspRecord, PayServerType),
    TZO_MEMBER(NELOLoginRspRecord, AdviserID),
    TZO_MEMBER(NELOLoginRspRecord, InvestorAdviserFlag),
    TZO_MEMBER(NELOLoginRspRecord, SessionID),
};

const TZOFieldSlot kInvestorSlots[] = {
    TZO_MEMBER(NELOInvestorRecord, InvestorID),
};

const TZOFieldSlot kChangePasswordSlots[] = {
    TZO_MEMBER(NELOChangePasswordRecord, InvestorID),
    TZO_MEMBER(NELOChangePasswordRecord, InvestorOldPassword),
    TZO_MEMBER(NELOChangePasswordRecord, InvestorNewPassword),
};

const TZOFieldSlot kFlowSubscribeSlots[] = {
    TZO_MEMBER(NELOFlowSubscribeRecord, FlowID),
    TZO_MEMBER(NELOFlowSubscribeRecord, PkgNo),
};

}  // namespace

const TZORecordLayout kNELORspInfoLayout(kRspInfoSlots, sizeof(NELORspInfoRecord));
const TZORecordLayout kNELOLoginReqLayout(kLoginReqSlots, sizeof(NELOLoginReqRecord));
const TZORecordLayout kNELOLoginRspLayout(kLoginRspSlots, sizeof(NELOLoginRspRecord));
const TZORecordLayout kNELOInvestorLayout(kInvestorSlots, sizeof(NELOInvestorRecord));
const TZORecordLayout kNELOChangePasswordLayout(kChangePasswordSlots, sizeof(NELOChangePasswordRecord));
const TZORecordLayout kNELOFlowSubscribeLayout(kFlowSubscribeSlots, sizeof(NELOFlowSubscribeRecord));
