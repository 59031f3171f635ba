// Compile-time checks that g++ builds the exported interfaces the way Microsoft's compiler calls them.
// On 32-bit Windows Microsoft's compiler passes `this` in ECX and lets the callee pop the arguments
// (thiscall) for every non-static member function, and calls static members as plain cdecl functions;
// g++ must agree for every slot and for the factories, or an application built with Microsoft's
// compiler would corrupt its stack on the first call. On 64-bit Windows there is a single convention.
#include <type_traits>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

#if defined(__i386__)
#define NARV_THISCALL __attribute__((thiscall))
#define NARV_CDECL __attribute__((cdecl))

// One slot of each interface, a callback with many arguments among them: the member functions all
// take the compiler's default convention, which these pin down.
static_assert(std::is_same<decltype(&CNarvSqelTraderApi::Release), void (NARV_THISCALL CNarvSqelTraderApi::*)()>::value,
              "trading interface slots must be thiscall");
static_assert(!std::is_same<decltype(&CNarvSqelTraderApi::Release), void (NARV_CDECL CNarvSqelTraderApi::*)()>::value,
              "the check above must tell conventions apart");
static_assert(std::is_same<decltype(&CNarvSqelTraderSpi::OnLoginRsp),
                           void (NARV_THISCALL CNarvSqelTraderSpi::*)(const NarvLoginRspRecord*,
                                                                      const NarvRspInfoRecord*, int, bool)>::value,
              "trading callbacks must be thiscall");
static_assert(std::is_same<decltype(&CNarvSqelMdApi::ReqQuotSubscribe),
                           int (NARV_THISCALL CNarvSqelMdApi::*)(const char* const*, int)>::value,
              "market-data interface slots must be thiscall");
static_assert(std::is_same<decltype(&CNarvSqelMdSpi::OnDepthQuoteNty),
                           void (NARV_THISCALL CNarvSqelMdSpi::*)(const NarvDepthQuoteRecord*)>::value,
              "market-data callbacks must be thiscall");
static_assert(std::is_same<decltype(&CNarvSqelTraderApi::CreateSqelTraderApi),
                           CNarvSqelTraderApi*(NARV_CDECL*)(const char*)>::value,
              "the trading factory must be cdecl");
static_assert(std::is_same<decltype(&CNarvSqelMdApi::CreateSqelMdApi),
                           CNarvSqelMdApi*(NARV_CDECL*)(const char*, bool, bool)>::value,
              "the market-data factory must be cdecl");
#endif
