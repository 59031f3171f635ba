// Records of the trade session: reply information, login, logout, password change and the rows of the
// flow subscription. Each record is plain storage; its layout names the dictionary row of every member
// in the order the back end expects them.
#pragma once

#include <cstdint>

#include "TZORecordLayout.h"

struct NELORspInfoRecord {
    std::int16_t RspNo;  // 0 = success
    char RspDesc[257];
};

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

struct NELOLoginRspRecord {
    char InvestorID[16];
    char TradeDate[11];
    char InvestorName[51];
    char SysName[51];
    char SysMode;
    char PayServerType;
    char AdviserID[16];
    char InvestorAdviserFlag;
    std::int64_t SessionID;
};

// Logout request and reply, password-change reply and the investor-only query keys.
struct NELOInvestorRecord {
    char InvestorID[16];
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

extern const TZORecordLayout kNELORspInfoLayout;
extern const TZORecordLayout kNELOLoginReqLayout;
extern const TZORecordLayout kNELOLoginRspLayout;
extern const TZORecordLayout kNELOInvestorLayout;
extern const TZORecordLayout kNELOChangePasswordLayout;
extern const TZORecordLayout kNELOFlowSubscribeLayout;
