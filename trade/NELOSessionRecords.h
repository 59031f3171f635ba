// Records of the trade session: login, password change and the rows of the flow subscription (reply
// information, the login reply and the investor key are the records both services share). Each record is plain storage; its layout names the dictionary row of every member
// in the order the back end expects them.
#pragma once

#include <cstdint>

#include "NELOCommonRecords.h"
#include "TZORecordLayout.h"

struct NELOLoginReqRecord {
    char InvestorID[16];
    char InvestorPassword[21];
    char IP[101];
    char ProductType;
    std::int32_t ProductVersion;
    char UserProductInfo[11];
    char InterfaceProductInfo[11];
    char MacAddress[33];
};

struct NELOChangePasswordRecord {
    char InvestorID[16];
    char InvestorOldPassword[21];
    char InvestorNewPassword[21];
};

// One row of FlowSubscribeReqList / FlowSubscribeRspList.
struct NELOFlowSubscribeRecord {
    std::int32_t FlowID;
    std::int32_t PkgNo;
};

extern const TZORecordLayout kNELOLoginReqLayout;
extern const TZORecordLayout kNELOChangePasswordLayout;
extern const TZORecordLayout kNELOFlowSubscribeLayout;
