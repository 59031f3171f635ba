// The only two symbols the market-data library exports.
#include "NarvSqelMdApi.h"
#include "SqelMdApiImpl.h"

CNarvSqelMdApi* CNarvSqelMdApi::CreateSqelMdApi(const char* /*flowPath*/, bool /*usingUdp*/, bool /*multicast*/) {
    return new CSqelMdApiImpl;
}

const char* CNarvSqelMdApi::GetApiVersion() { return "6.5.1"; }
