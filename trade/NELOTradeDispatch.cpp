#include "NELOTradeDispatch.h"

#include "NELOReplyDelivery.h"
#include "NELOTradeApi.h"
#include "NELOTradeCatalog.h"

void NELOLoginReply(const NELOBodyPart& body, CNELOTradeSession& session, CAPIPackage& package) {
    using namespace nelo_delivery;
    // Both records are always handed over, zeroed where missing or undecodable, as for logout.
    NELORspInfoRecord rspInfo{};
    (void)ReadRspInfo(package, rspInfo);
    NELOLoginRspRecord login{};
    (void)ReadWholeGroup(package, body.field->id, *body.record->layout, login);
    if (rspInfo.RspNo == 0) session.OnLoginAccepted(login.InvestorID);
    if (CNELOTradeSpi* spi = session.Spi()) spi->OnLoginRsp(&login, &rspInfo, package.RequestID, package.EndFlag);
}

void NELOFlowSubscribeReply(const NELOBodyPart& body, CNELOTradeSession& session, CAPIPackage& package) {
    using namespace nelo_delivery;
    NELORspInfoRecord rspInfo{};
    // A reply without a readable RspInfo counts as accepted, as one whose RspNo is 0.
    (void)ReadRspInfo(package, rspInfo);
    if (rspInfo.RspNo != 0) return;
    CTZORecordSet rows;
    (void)package.GetRecordSet(body.field->id, &rows);  // when absent the set stays empty
    NELOFlowSubscribeRecord row{};
    // A row that does not decode says nothing about either flow; taken as zeros it would rewind flow 2
    // and have every push already seen delivered again.
    while (NextWholeRow(rows, *body.record->layout, row))
        session.SetLastSeen(row.FlowID == 1 ? 1 : 2, static_cast<std::uint32_t>(row.PkgNo));
}

// Flow pushes carry their kind in RequestID and their sequence in EndFlag. A sequence not above the
// flow's last seen one is a repeat and is dropped; anything newer is consumed, known kind or not.
void NELOFlowPush(const NELOBodyPart& /*body*/, CNELOTradeSession& session, CAPIPackage& package) {
    const int flow = package.ServiceNo;
    const auto sequence = static_cast<std::uint32_t>(package.EndFlag);
    if (sequence <= session.LastSeen(flow)) return;
    if (const NELOTradePushDef* kind = NELOFindTradePush(flow, package.RequestID))
        kind->deliver(kind->body, session, package);
    session.SetLastSeen(flow, sequence);
}

int NELODispatchTradePackage(CNELOTradeSession& session, CAPIPackage& package) {
    const NELOTradeMessageDef* message = NELOFindTradeReceived(package.ServiceNo);
    if (message != nullptr && message->deliver != nullptr) message->deliver(message->body, session, package);
    return 0;
}
