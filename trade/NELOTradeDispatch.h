// Routes one received trade-service package to its decoder and callback.
#pragma once

#include "APIPackage.h"
#include "NELOTradeSession.h"

// Always 0: malformed or unknown packages are consumed without closing the connection.
int NELODispatchTradePackage(CNELOTradeSession& session, CAPIPackage& package);
