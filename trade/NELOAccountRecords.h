// Records of the trade service's account services: bulletins and notices, fund transfers and their
// details, reports, the history queries and the binding of a bank account. The history replies reuse
// the order, trade, fund and position-detail rows of the queries.
//
// Plain data like the query records: text members are the dictionary width + 1 (NUL-terminated), a
// single-character row is one char, numbers have their row's size, members in the order of the fields.
#pragma once

#include <cstdint>

#include "NELOQueryRecords.h"

// Key of the fund-transfer detail, report, history fund, bulletin and notice queries. Dates are sent as
// the caller wrote them.
struct NELODateRangeKeyRecord {
    char InvestorID[16];
    char DateFrom[11];
    char DateTo[11];
};

// Key of the history order and trade queries.
struct NELOHisKeyRecord {
    char InvestorID[16];
    char InstrumentID[16];
    char DateFrom[11];
    char DateTo[11];
};

// Key of the history position-detail query.
struct NELOHisPosiKeyRecord {
    char InvestorID[16];
    char InstrumentID[16];
    char DateFrom[11];
    char DateTo[11];
    char ExchangeID[17];
};

// A bulletin: a row of BulletinList, or the group Bulletin of a push.
struct NELOBulletinRecord {
    char TradeDate[11];
    char BulletinID[16];
    char Title[101];
    char Content[501];
    char PublishDate[11];
    char PublishTime[9];
    char CreateDate[11];
    char CreateTime[9];
    char PublishMethod;
    char PublishUserID[16];
};

// A notice: a row of NoticeList, or the group Notice of a push. Same shape as a bulletin, but the
// identifier is a row of its own.
struct NELONoticeRecord {
    char TradeDate[11];
    char NoticeID[16];
    char Title[101];
    char Content[501];
    char PublishDate[11];
    char PublishTime[9];
    char CreateDate[11];
    char CreateTime[9];
    char PublishMethod;
    char PublishUserID[16];
};

// A deposit or withdrawal request (group ElectronicFundIOReq).
struct NELOFundTransferReqRecord {
    char InvestorID[16];
    char FundIODirection;
    double Amount;
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
};

// The answer to a transfer request (group ElectronicFundIORsp).
struct NELOFundTransferRspRecord {
    char InvestorID[16];
    char FundIOSeqno[31];
    char FundIODirection;
    double Amount;
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
    char CreateDate[11];
    char CreateTime[9];
    char FundIOStatus;
    char FundIOStatusDesc[257];
    char CompleteDate[11];
    char CompleteTime[9];
    char PayURL[1025];
};

// The outcome of a transfer, pushed later (group ElectronicFundIONty).
struct NELOFundTransferNtyRecord {
    char TradeDate[11];
    char InvestorID[16];
    char FundIOSeqno[31];
    char FundIODirection;
    double Amount;
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
    char FundIOStatus;
    char FundIOStatusDesc[257];
    char CreateDate[11];
    char CreateTime[9];
    char CompleteDate[11];
    char CompleteTime[9];
    char PayURL[1025];
};

// A row of FundIODetailList.
struct NELOFundIODetailRecord {
    char TradeDate[11];
    char FundIOSeqno[31];
    char InvestorID[16];
    char FundIODirection;
    double Amount;
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
    char FundIOStatus;
    char CreateDate[11];
    char CreateTime[9];
    char CompleteDate[11];
    char CompleteTime[9];
    char FundIOMethod;
    char FundIOStatusDesc[257];
    char ReceiveBranchName[101];
    char PaySeqno[31];
};

// A row of ReportList.
struct NELOReportRecord {
    char ReportData[1001];
};

// A binding request (group AccountBindReq).
struct NELOAccountBindReqRecord {
    char InvestorID[16];
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
    char ReceiveBranchName[101];
    char ReceiveProvice[51];
    char ReceiveCity[51];
    char CredentialType;
    char CredentialNo[51];
};

// The answer to a binding request (group AccountBindRsp).
struct NELOAccountBindRspRecord {
    char InvestorID[16];
    char AccountBindURL[1025];
    char AccountBindStatus;
};

// The state of a binding: a row of AccountBindList, or the group AccountBind of a push.
struct NELOAccountBindRecord {
    char InvestorID[16];
    char ReceiveAccountID[41];
    char ReceiveAccountName[101];
    char ReceiveBankID[11];
    char ReceiveBranchName[101];
    char ReceiveProvice[51];
    char ReceiveCity[51];
    char AccountBindStatus;
    char AccountBindStatusDesc[257];
    char CredentialType;
    char CredentialNo[51];
};

extern const TZORecordLayout kNELODateRangeKeyLayout;
extern const TZORecordLayout kNELOHisKeyLayout;
extern const TZORecordLayout kNELOHisPosiKeyLayout;
extern const TZORecordLayout kNELOBulletinLayout;
extern const TZORecordLayout kNELONoticeLayout;
extern const TZORecordLayout kNELOFundTransferReqLayout;
extern const TZORecordLayout kNELOFundTransferRspLayout;
extern const TZORecordLayout kNELOFundTransferNtyLayout;
extern const TZORecordLayout kNELOFundIODetailLayout;
extern const TZORecordLayout kNELOReportLayout;
extern const TZORecordLayout kNELOAccountBindReqLayout;
extern const TZORecordLayout kNELOAccountBindRspLayout;
extern const TZORecordLayout kNELOAccountBindLayout;
