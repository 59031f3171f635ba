// The receive path without a socket: a quote push (or an order return) handed to the client the way
// the connection hands it over, decoded, converted by the API object and delivered to an application
// callback that does nothing.
#include <benchmark/benchmark.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <memory>
#include <vector>

#include "AllocationCounter.h"
#include "BenchFixtures.h"
#include "FrontConnector.h"
#include "NELOQuotApiImp.h"
#include "NELOTradeApiImp.h"
#include "ServerConnection.h"
#include "SqelMdApiImpl.h"
#include "SqelTraderApiImpl.h"

using namespace narv_bench;

namespace {

class NullMdSpi final : public CNarvSqelMdSpi {
public:
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* quote) override {
        benchmark::DoNotOptimize(quote);
        ++quotes;
    }
    std::int64_t quotes = 0;
};

class NullTraderSpi final : public CNarvSqelTraderSpi {
public:
    void OnOrderNty(const NarvOrderRecord* order) override {
        benchmark::DoNotOptimize(order);
        ++orders;
    }
    std::int64_t orders = 0;
};

// The market-data API object as the factory makes it, with a quote client of its own that is never
// started, plus a second client that the benchmark feeds: the API object is that client's callback.
struct MdChain {
    MdChain() : api(new CSqelMdApiImpl) {
        api->RegisterSpi(&spi);
        client.RegisterSpi(api);
    }
    ~MdChain() { api->Release(); }
    // The client implements the connection's owner interface privately, as only its connection calls
    // it; the benchmark stands in for that connection.
    CConnectionOwner& Owner() { return (CConnectionOwner&)client; }

    NullMdSpi spi;
    CSqelMdApiImpl* api;
    quot::CNELOQuotApiImp client;
};

std::vector<std::uint8_t> Payload(const std::vector<std::uint8_t>& frame) {
    return std::vector<std::uint8_t>(frame.begin() + 4, frame.end());
}

void SetAllocationsPerItem(benchmark::State& state, std::uint64_t before, std::int64_t items) {
    state.counters["allocations_per_message"] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(items > 0 ? items : 1);
}

// One frame payload opened as an envelope and dispatched, as the connection does with each frame.
void BM_QuoteDispatch(benchmark::State& state) {
    MdChain chain;
    const std::vector<std::uint8_t> payload = Payload(QuoteFrame(SampleQuote()));
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        CAPIPackage package;
        package.OpenReceived(payload.data(), static_cast<std::uint32_t>(payload.size()));
        benchmark::DoNotOptimize(chain.Owner().DispatchPackage(package));
    }
    state.SetItemsProcessed(state.iterations());
    SetAllocationsPerItem(state, before, state.iterations());
    if (chain.spi.quotes != state.iterations()) state.SkipWithError("quotes lost on the way");
}

// A read of 64 frames handed to the framed connection on its I/O service: reassembly, receive timer,
// decoding and dispatch. No socket is opened; the connection is never activated.
void BM_QuoteReceiveRead(benchmark::State& state) {
    constexpr int kFramesPerRead = 64;
    MdChain chain;
    const std::vector<std::uint8_t> frame = QuoteFrame(SampleQuote());
    std::vector<std::uint8_t> read;
    for (int i = 0; i < kFramesPerRead; ++i) read.insert(read.end(), frame.begin(), frame.end());

    boost::asio::io_context io;
    CFrontConnector connector(io, chain.Owner(), {});
    auto connection = std::make_shared<CServerConnection>(io, connector, chain.Owner());
    auto deliver = [&] { connection->OnReceive(read.data(), static_cast<std::uint32_t>(read.size())); };
    // Warm the I/O service's handler memory the way a running connection has.
    for (int i = 0; i < 4; ++i) {
        boost::asio::post(io, deliver);
        io.poll();
    }
    chain.spi.quotes = 0;
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        // Handing the read over is the benchmark's doing, not the connection's: not counted.
        ExcludeThisThreadFromAllocationCount(true);
        boost::asio::post(io, deliver);
        ExcludeThisThreadFromAllocationCount(false);
        io.poll();
    }
    const std::int64_t frames = state.iterations() * kFramesPerRead;
    state.SetItemsProcessed(frames);
    SetAllocationsPerItem(state, before, frames);
    if (chain.spi.quotes != frames) state.SkipWithError("quotes lost on the way");
    connection->Close(kCloseReasonStopped);
    io.poll();
}

// An order return on flow 1 through the trade client and the trading API object. Each push carries
// the next sequence, as the flow does.
void BM_OrderPushDispatch(benchmark::State& state) {
    NullTraderSpi spi;
    CSqelTraderApiImpl* api = CSqelTraderApiImpl::Create();
    api->RegisterSpi(&spi);
    CNELOTradeApiImp client;
    client.RegisterSpi(api);
    std::vector<std::uint8_t> payload = Payload(OrderPushFrame(SampleOrder(), 1));
    std::int32_t sequence = 0;
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        PatchInt32(payload.data(), kFrameEndFlagOffset - 4, ++sequence);
        CAPIPackage package;
        package.OpenReceived(payload.data(), static_cast<std::uint32_t>(payload.size()));
        benchmark::DoNotOptimize(client.DispatchPackage(package));
    }
    state.SetItemsProcessed(state.iterations());
    SetAllocationsPerItem(state, before, state.iterations());
    if (spi.orders != state.iterations()) state.SkipWithError("order returns lost on the way");
    client.RegisterSpi(nullptr);
    api->Release();
}

}  // namespace

BENCHMARK(BM_QuoteDispatch);
BENCHMARK(BM_QuoteReceiveRead);
BENCHMARK(BM_OrderPushDispatch);
