#include "NELOSessionRecords.h"

namespace {

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

const TZORecordLayout kNELOLoginReqLayout(kLoginReqSlots, sizeof(NELOLoginReqRecord));
const TZORecordLayout kNELOChangePasswordLayout(kChangePasswordSlots, sizeof(NELOChangePasswordRecord));
const TZORecordLayout kNELOFlowSubscribeLayout(kFlowSubscribeSlots, sizeof(NELOFlowSubscribeRecord));
