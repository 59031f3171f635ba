#include "WireCatalog.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "NELOQuotCatalog.h"
#include "NELOTradeCatalog.h"

namespace {

// A catalogue row as the tools see it: the reply information, when the message carries it, is the first
// part of its body.
template <class Row>
WireMessageDef ToWire(WireService service, const Row& row) {
    WireMessageDef out{service, row.serviceNo, row.direction, row.meaning, {}, row.isFlowPush};
    std::size_t part = 0;
    if (row.withRspInfo) out.parts[part++] = {&TZOField::RspInfo, &kNELORspInfoDef};
    if (row.body.field != nullptr) out.parts[part++] = row.body;
    return out;
}

struct WireTables {
    std::vector<WireMessageDef> messages;
    std::vector<WirePushKindDef> pushKinds;
    std::vector<const WireRecordDef*> records;
    WireCatalog catalog;

    WireTables() {
        for (const auto& row : kNELOTradeMessages) messages.push_back(ToWire(WireService::Trade, row));
        for (const auto& row : quot::kNELOQuotMessages) messages.push_back(ToWire(WireService::Quote, row));
        for (const auto& kind : kNELOTradePushes) pushKinds.push_back({kind.flow, kind.kind, kind.meaning, kind.body});
        // Each record once: the records both services carry are in both tables.
        const auto addRecords = [this](const NELORecordDef* const* defs, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                if (std::find(records.begin(), records.end(), defs[i]) == records.end()) records.push_back(defs[i]);
        };
        addRecords(kNELOTradeRecords, kNELOTradeRecordCount);
        addRecords(quot::kNELOQuotRecords, quot::kNELOQuotRecordCount);
        catalog = {messages.data(),  messages.size(), pushKinds.data(),
                   pushKinds.size(), records.data(),  records.size()};
    }
};

const WireTables& Tables() {
    static const WireTables tables;
    return tables;
}

}  // namespace

const WireCatalog& TheWireCatalog() { return Tables().catalog; }

const char* WireServiceName(WireService service) { return service == WireService::Trade ? "trade" : "quote"; }

const WireMessageDef* FindWireMessage(WireService service, std::uint16_t serviceNo) {
    const std::vector<WireMessageDef>& messages = Tables().messages;
    const auto found = std::find_if(messages.begin(), messages.end(), [&](const WireMessageDef& m) {
        return m.service == service && m.serviceNo == serviceNo;
    });
    return found == messages.end() ? nullptr : &*found;
}

const WirePushKindDef* FindWirePushKind(std::uint16_t flow, std::int32_t kind) {
    const std::vector<WirePushKindDef>& kinds = Tables().pushKinds;
    const auto found = std::find_if(kinds.begin(), kinds.end(),
                                    [&](const WirePushKindDef& k) { return k.flow == flow && k.kind == kind; });
    return found == kinds.end() ? nullptr : &*found;
}

bool WireServiceNoIsOnly(WireService service, std::uint16_t serviceNo) {
    const WireService other = service == WireService::Trade ? WireService::Quote : WireService::Trade;
    return FindWireMessage(service, serviceNo) && !FindWireMessage(other, serviceNo);
}
