#include "NELOAccountRecords.h"

namespace {

const TZOFieldSlot kDateRangeKeySlots[] = {
    TZO_MEMBER(NELODateRangeKeyRecord, InvestorID),
    TZO_MEMBER(NELODateRangeKeyRecord, DateFrom),
    TZO_MEMBER(NELODateRangeKeyRecord, DateTo),
};

const TZOFieldSlot kHisKeySlots[] = {
    TZO_MEMBER(NELOHisKeyRecord, InvestorID),
    TZO_MEMBER(NELOHisKeyRecord, InstrumentID),
    TZO_MEMBER(NELOHisKeyRecord, DateFrom),
    TZO_MEMBER(NELOHisKeyRecord, DateTo),
};

const TZOFieldSlot kHisPosiKeySlots[] = {
    TZO_MEMBER(NELOHisPosiKeyRecord, InvestorID),
    TZO_MEMBER(NELOHisPosiKeyRecord, InstrumentID),
    TZO_MEMBER(NELOHisPosiKeyRecord, DateFrom),
    TZO_MEMBER(NELOHisPosiKeyRecord, DateTo),
    TZO_SLOT(NELOHisPosiKeyRecord, ExchangeID, ExchangeID),
};

const TZOFieldSlot kBulletinSlots[] = {
    TZO_MEMBER(NELOBulletinRecord, TradeDate),     TZO_MEMBER(NELOBulletinRecord, BulletinID),
    TZO_MEMBER(NELOBulletinRecord, Title),         TZO_MEMBER(NELOBulletinRecord, Content),
    TZO_MEMBER(NELOBulletinRecord, PublishDate),   TZO_MEMBER(NELOBulletinRecord, PublishTime),
    TZO_MEMBER(NELOBulletinRecord, CreateDate),    TZO_MEMBER(NELOBulletinRecord, CreateTime),
    TZO_MEMBER(NELOBulletinRecord, PublishMethod), TZO_MEMBER(NELOBulletinRecord, PublishUserID),
};

const TZOFieldSlot kNoticeSlots[] = {
    TZO_MEMBER(NELONoticeRecord, TradeDate),     TZO_MEMBER(NELONoticeRecord, NoticeID),
    TZO_MEMBER(NELONoticeRecord, Title),         TZO_MEMBER(NELONoticeRecord, Content),
    TZO_MEMBER(NELONoticeRecord, PublishDate),   TZO_MEMBER(NELONoticeRecord, PublishTime),
    TZO_MEMBER(NELONoticeRecord, CreateDate),    TZO_MEMBER(NELONoticeRecord, CreateTime),
    TZO_MEMBER(NELONoticeRecord, PublishMethod), TZO_MEMBER(NELONoticeRecord, PublishUserID),
};

const TZOFieldSlot kFundTransferReqSlots[] = {
    TZO_MEMBER(NELOFundTransferReqRecord, InvestorID),
    TZO_MEMBER(NELOFundTransferReqRecord, FundIODirection),
    TZO_MEMBER(NELOFundTransferReqRecord, Amount),
    TZO_MEMBER(NELOFundTransferReqRecord, ReceiveAccountID),
    TZO_MEMBER(NELOFundTransferReqRecord, ReceiveAccountName),
    TZO_MEMBER(NELOFundTransferReqRecord, ReceiveBankID),
};

const TZOFieldSlot kFundTransferRspSlots[] = {
    TZO_MEMBER(NELOFundTransferRspRecord, InvestorID),
    TZO_SLOT(NELOFundTransferRspRecord, FundIOSeqno, FundIOSeqno),
    TZO_MEMBER(NELOFundTransferRspRecord, FundIODirection),
    TZO_MEMBER(NELOFundTransferRspRecord, Amount),
    TZO_MEMBER(NELOFundTransferRspRecord, ReceiveAccountID),
    TZO_MEMBER(NELOFundTransferRspRecord, ReceiveAccountName),
    TZO_MEMBER(NELOFundTransferRspRecord, ReceiveBankID),
    TZO_MEMBER(NELOFundTransferRspRecord, CreateDate),
    TZO_MEMBER(NELOFundTransferRspRecord, CreateTime),
    TZO_MEMBER(NELOFundTransferRspRecord, FundIOStatus),
    TZO_SLOT(NELOFundTransferRspRecord, FundIOStatusDesc, FundIOStatusDesc),
    TZO_MEMBER(NELOFundTransferRspRecord, CompleteDate),
    TZO_MEMBER(NELOFundTransferRspRecord, CompleteTime),
    TZO_MEMBER(NELOFundTransferRspRecord, PayURL),
};

const TZOFieldSlot kFundTransferNtySlots[] = {
    TZO_MEMBER(NELOFundTransferNtyRecord, TradeDate),
    TZO_MEMBER(NELOFundTransferNtyRecord, InvestorID),
    TZO_SLOT(NELOFundTransferNtyRecord, FundIOSeqno, FundIOSeqno),
    TZO_MEMBER(NELOFundTransferNtyRecord, FundIODirection),
    TZO_MEMBER(NELOFundTransferNtyRecord, Amount),
    TZO_MEMBER(NELOFundTransferNtyRecord, ReceiveAccountID),
    TZO_MEMBER(NELOFundTransferNtyRecord, ReceiveAccountName),
    TZO_MEMBER(NELOFundTransferNtyRecord, ReceiveBankID),
    TZO_MEMBER(NELOFundTransferNtyRecord, FundIOStatus),
    TZO_SLOT(NELOFundTransferNtyRecord, FundIOStatusDesc, FundIOStatusDesc),
    TZO_MEMBER(NELOFundTransferNtyRecord, CreateDate),
    TZO_MEMBER(NELOFundTransferNtyRecord, CreateTime),
    TZO_MEMBER(NELOFundTransferNtyRecord, CompleteDate),
    TZO_MEMBER(NELOFundTransferNtyRecord, CompleteTime),
    TZO_MEMBER(NELOFundTransferNtyRecord, PayURL),
};

const TZOFieldSlot kFundIODetailSlots[] = {
    TZO_MEMBER(NELOFundIODetailRecord, TradeDate),
    TZO_SLOT(NELOFundIODetailRecord, FundIOSeqno, FundIOSeqno),
    TZO_MEMBER(NELOFundIODetailRecord, InvestorID),
    TZO_MEMBER(NELOFundIODetailRecord, FundIODirection),
    TZO_MEMBER(NELOFundIODetailRecord, Amount),
    TZO_MEMBER(NELOFundIODetailRecord, ReceiveAccountID),
    TZO_MEMBER(NELOFundIODetailRecord, ReceiveAccountName),
    TZO_MEMBER(NELOFundIODetailRecord, ReceiveBankID),
    TZO_MEMBER(NELOFundIODetailRecord, FundIOStatus),
    TZO_MEMBER(NELOFundIODetailRecord, CreateDate),
    TZO_MEMBER(NELOFundIODetailRecord, CreateTime),
    TZO_MEMBER(NELOFundIODetailRecord, CompleteDate),
    TZO_MEMBER(NELOFundIODetailRecord, CompleteTime),
    TZO_MEMBER(NELOFundIODetailRecord, FundIOMethod),
    TZO_SLOT(NELOFundIODetailRecord, FundIOStatusDesc, FundIOStatusDesc),
    TZO_MEMBER(NELOFundIODetailRecord, ReceiveBranchName),
    TZO_SLOT(NELOFundIODetailRecord, PaySeqno, PaySeqno),
};

const TZOFieldSlot kReportSlots[] = {
    TZO_MEMBER(NELOReportRecord, ReportData),
};

const TZOFieldSlot kAccountBindReqSlots[] = {
    TZO_MEMBER(NELOAccountBindReqRecord, InvestorID),         TZO_MEMBER(NELOAccountBindReqRecord, ReceiveAccountID),
    TZO_MEMBER(NELOAccountBindReqRecord, ReceiveAccountName), TZO_MEMBER(NELOAccountBindReqRecord, ReceiveBankID),
    TZO_MEMBER(NELOAccountBindReqRecord, ReceiveBranchName),  TZO_MEMBER(NELOAccountBindReqRecord, ReceiveProvice),
    TZO_MEMBER(NELOAccountBindReqRecord, ReceiveCity),        TZO_MEMBER(NELOAccountBindReqRecord, CredentialType),
    TZO_MEMBER(NELOAccountBindReqRecord, CredentialNo),
};

const TZOFieldSlot kAccountBindRspSlots[] = {
    TZO_MEMBER(NELOAccountBindRspRecord, InvestorID),
    TZO_MEMBER(NELOAccountBindRspRecord, AccountBindURL),
    TZO_MEMBER(NELOAccountBindRspRecord, AccountBindStatus),
};

const TZOFieldSlot kAccountBindSlots[] = {
    TZO_MEMBER(NELOAccountBindRecord, InvestorID),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveAccountID),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveAccountName),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveBankID),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveBranchName),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveProvice),
    TZO_MEMBER(NELOAccountBindRecord, ReceiveCity),
    TZO_MEMBER(NELOAccountBindRecord, AccountBindStatus),
    TZO_MEMBER(NELOAccountBindRecord, AccountBindStatusDesc),
    TZO_MEMBER(NELOAccountBindRecord, CredentialType),
    TZO_MEMBER(NELOAccountBindRecord, CredentialNo),
};
}  // namespace

const TZORecordLayout kNELODateRangeKeyLayout(kDateRangeKeySlots, sizeof(NELODateRangeKeyRecord));
const TZORecordLayout kNELOHisKeyLayout(kHisKeySlots, sizeof(NELOHisKeyRecord));
const TZORecordLayout kNELOHisPosiKeyLayout(kHisPosiKeySlots, sizeof(NELOHisPosiKeyRecord));
const TZORecordLayout kNELOBulletinLayout(kBulletinSlots, sizeof(NELOBulletinRecord));
const TZORecordLayout kNELONoticeLayout(kNoticeSlots, sizeof(NELONoticeRecord));
const TZORecordLayout kNELOFundTransferReqLayout(kFundTransferReqSlots, sizeof(NELOFundTransferReqRecord));
const TZORecordLayout kNELOFundTransferRspLayout(kFundTransferRspSlots, sizeof(NELOFundTransferRspRecord));
const TZORecordLayout kNELOFundTransferNtyLayout(kFundTransferNtySlots, sizeof(NELOFundTransferNtyRecord));
const TZORecordLayout kNELOFundIODetailLayout(kFundIODetailSlots, sizeof(NELOFundIODetailRecord));
const TZORecordLayout kNELOReportLayout(kReportSlots, sizeof(NELOReportRecord));
const TZORecordLayout kNELOAccountBindReqLayout(kAccountBindReqSlots, sizeof(NELOAccountBindReqRecord));
const TZORecordLayout kNELOAccountBindRspLayout(kAccountBindRspSlots, sizeof(NELOAccountBindRspRecord));
const TZORecordLayout kNELOAccountBindLayout(kAccountBindSlots, sizeof(NELOAccountBindRecord));
