// Routes one received trade-service package to its decoder and callback, as the message catalogue says,
// and the trade service's own ways of receiving what the shared reply delivery does not cover.
#pragma once

#include "APIPackage.h"
#include "NELOMessageCatalog.h"
#include "NELOTradeSession.h"

// Always 0: malformed or unknown packages are consumed without closing the connection.
int NELODispatchTradePackage(CNELOTradeSession& session, CAPIPackage& package);

// Flow pushes (ServiceNo 1 and 2): the kind in RequestID picks the push kind's own delivery.
void NELOFlowPush(const NELOBodyPart& body, CNELOTradeSession& session, CAPIPackage& package);
// The flow subscription reply: no callback; an accepted subscription tells where each flow resumes.
void NELOFlowSubscribeReply(const NELOBodyPart& body, CNELOTradeSession& session, CAPIPackage& package);
// The login reply: as any reply with both records, after the session has taken note of the investor.
void NELOLoginReply(const NELOBodyPart& body, CNELOTradeSession& session, CAPIPackage& package);
