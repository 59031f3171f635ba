// The only two symbols the trading library exports.
#include "NarvSqelTraderApi.h"
#include "SqelTraderApiImpl.h"

CNarvSqelTraderApi* CNarvSqelTraderApi::CreateSqelTraderApi(const char* /*flowPath*/) {
    return CSqelTraderApiImpl::Create();
}

const char* CNarvSqelTraderApi::GetApiVersion() { return "6.5.1"; }
