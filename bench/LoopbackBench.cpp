// The two libraries as an application sees them (the shared objects, through their exported
// interfaces) against peers on the loopback interface, each figure beside a raw-socket floor measured
// in the same run:
// - quote stream: a sender blasts pre-encoded quote frames; OnDepthQuoteNty per second against a plain
//   reader that only walks the frame lengths of the same stream;
// - order round trip: ReqInputOrder to OnOrderNty against a front that answers each order at once
//   (reply and order return), against a plain ping-pong of frames of the same sizes;
// - heap allocations per received quote, per received order return and per request sent.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "APIPackage.h"
#include "AllocationCounter.h"
#include "BenchFixtures.h"
#include "Loopback.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "TraderRecordConversions.h"

using namespace narv_bench;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(30);  // far beyond any healthy run, even under load

// A counter another thread can wait on. The counting side takes the lock only when it reaches the
// target, so counting stays cheap on the library's thread.
class CWaitableCount {
public:
    void ExpectTotal(std::int64_t total) { target_.store(total, std::memory_order_release); }
    void Add(std::int64_t n = 1) {
        const std::int64_t after = count_.fetch_add(n, std::memory_order_acq_rel) + n;
        const std::int64_t target = target_.load(std::memory_order_acquire);
        if (after >= target && after - n < target) {
            std::lock_guard<std::mutex> lock(mutex_);
            reached_.notify_all();
        }
    }
    bool WaitForTarget() {
        std::unique_lock<std::mutex> lock(mutex_);
        return reached_.wait_for(lock, kPatience, [this] {
            return count_.load(std::memory_order_acquire) >= target_.load(std::memory_order_acquire);
        });
    }
    std::int64_t Value() const { return count_.load(std::memory_order_acquire); }

private:
    std::atomic<std::int64_t> count_{0};
    std::atomic<std::int64_t> target_{0};
    std::mutex mutex_;
    std::condition_variable reached_;
};

std::vector<std::uint8_t> Repeat(const std::vector<std::uint8_t>& frame, int times) {
    std::vector<std::uint8_t> stream;
    stream.reserve(frame.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) stream.insert(stream.end(), frame.begin(), frame.end());
    return stream;
}

// The frames of a stream, each by itself.
std::vector<std::vector<std::uint8_t>> SplitFrames(const std::vector<std::uint8_t>& stream) {
    std::vector<std::vector<std::uint8_t>> frames;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::size_t size = 4 + (std::size_t{stream[at]} << 24 | std::size_t{stream[at + 1]} << 16 |
                                      std::size_t{stream[at + 2]} << 8 | stream[at + 3]);
        frames.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    return frames;
}

// An order entry as an application fills it.
NarvInputOrderRecord SampleApplicationOrder() {
    NarvInputOrderRecord order{};
    std::snprintf(order.InvestorID, sizeof order.InvestorID, "%s", "880001234");
    std::snprintf(order.OrderRef, sizeof order.OrderRef, "%s", "000000000012");
    order.PriceType = '2';
    order.BSFlag = '0';
    order.OCFlag = '0';
    order.Price = 74210.0;
    order.Qty = 2;
    order.TimeCondition = '3';
    order.VolumeCondition = '1';
    order.RequestID = 12;
    std::snprintf(order.ExchangeID, sizeof order.ExchangeID, "%s", "SHFE");
    std::snprintf(order.ClientID, sizeof order.ClientID, "%s", "01234567");
    std::snprintf(order.MacAddress, sizeof order.MacAddress, "%s", "00:1A:2B:3C:4D:5E");
    std::snprintf(order.InstrumentID, sizeof order.InstrumentID, "%s", "cu2702");
    std::snprintf(order.IPAddress, sizeof order.IPAddress, "%s", "192.168.10.23");
    return order;
}

// Exactly the frame the trading library sends for SampleApplicationOrder before any login.
std::vector<std::uint8_t> ApplicationOrderFrame() {
    return InputOrderFrame(TraderBuildInputOrder(TraderSessionFields{}, SampleApplicationOrder()), 1);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void ReportLatencies(benchmark::State& state, const std::vector<double>& microseconds) {
    state.counters["median_us"] = Percentile(microseconds, 0.50);
    state.counters["p99_us"] = Percentile(microseconds, 0.99);
}

void ReportAllocations(benchmark::State& state, std::uint64_t before, std::int64_t items, const char* name) {
    state.counters[name] =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(std::max<std::int64_t>(items, 1));
}

// ---- peers ----------------------------------------------------------------------------------------

// A front for the trading library: accepts one connection, reads its frames and, for each order entry,
// answers at once with the acceptance (123) and the order return on flow 1, in one write. Counts the
// requests it has received (heartbeats aside).
class COrderFront {
public:
    explicit COrderFront(bool answer) : answer_(answer) {
        const std::vector<std::uint8_t> reply = InputOrderReplyFrame(SampleInputOrder(), 0);
        const std::vector<std::uint8_t> push = OrderPushFrame(SampleOrder(), 0);
        pushOffset_ = reply.size();
        answerBytes_ = reply;
        answerBytes_.insert(answerBytes_.end(), push.begin(), push.end());
        thread_ = std::thread([this] { Serve(); });
    }
    ~COrderFront() {
        thread_.join();  // the client has closed by now, which ends Serve
    }
    std::string FrontAddress() const { return listener_.FrontAddress(); }
    std::uint16_t Port() const { return listener_.Port(); }
    std::size_t AnswerSize() const { return answerBytes_.size(); }

    CWaitableCount orders;

private:
    void Serve() {
        ExcludeThisThreadFromAllocationCount();
        const int fd = listener_.Accept();
        if (fd < 0) return;
        CFrameReader reader(fd);
        const std::uint8_t* payload = nullptr;
        std::uint32_t length = 0;
        std::int32_t sequence = 0;
        while (reader.Next(payload, length)) {
            CAPIPackage package;
            package.OpenReceived(payload, length);
            if (package.ServiceNo == 0) continue;  // heartbeats
            if (answer_ && package.ServiceNo == kInputOrderService) {
                PatchInt32(answerBytes_.data(), kFrameRequestIdOffset, package.RequestID);
                PatchInt32(answerBytes_.data() + pushOffset_, kFrameEndFlagOffset, ++sequence);
                if (!WriteAll(fd, answerBytes_.data(), answerBytes_.size())) break;
            }
            orders.Add();
        }
        CloseSocket(fd);
    }

    CLoopbackListener listener_;
    const bool answer_;
    std::vector<std::uint8_t> answerBytes_;
    std::size_t pushOffset_ = 0;
    std::thread thread_;
};

// ---- application callbacks ----------------------------------------------------------------------

class CQuoteCountingSpi final : public CNarvSqelMdSpi {
public:
    void OnConnected() override { connected.Add(); }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord* quote) override {
        benchmark::DoNotOptimize(quote);
        quotes.Add();
    }
    CWaitableCount connected;
    CWaitableCount quotes;
};

// Counts order returns; in a round trip it also times each one against its request and sends the
// next order from inside the callback, so that nothing but the library stands between the two.
class CTraderSpi final : public CNarvSqelTraderSpi {
public:
    void OnConnected() override { connected.Add(); }
    void OnOrderNty(const NarvOrderRecord* order) override {
        benchmark::DoNotOptimize(order);
        returnedAt_.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
        returns_.fetch_add(1, std::memory_order_release);
        if (roundTrips_ > 0) {
            const Clock::time_point now = Clock::now();
            const std::int64_t done = orders.Value() - base_;
            if (done < roundTrips_)
                samples_[static_cast<std::size_t>(done)] =
                    std::chrono::duration<double, std::micro>(now - sentAt_).count();
            if (done + 1 < roundTrips_) SendOrder();
        }
        orders.Add();
    }

    // Sends the first order of `count` round trips; the rest follow from the callback.
    void StartRoundTrips(CNarvSqelTraderApi* api, std::int64_t count) {
        api_ = api;
        roundTrips_ = count;
        ReserveSamples(count);
        base_ = orders.Value();
        orders.ExpectTotal(base_ + count);
        SendOrder();
    }
    // `count` round trips from the calling thread: each order is sent after the return of the previous
    // one has reached OnOrderNty (this thread spins for it), and timed to the start of OnOrderNty.
    bool RoundTripsFromThisThread(CNarvSqelTraderApi* api, std::int64_t count) {
        ReserveSamples(count);
        for (std::int64_t i = 0; i < count; ++i) {
            const std::int64_t before = returns_.load(std::memory_order_acquire);
            const Clock::time_point sent = Clock::now();
            if (api->ReqInputOrder(&order_, ++requestId_) != 0) return false;
            const Clock::time_point deadline = sent + kPatience;
            while (returns_.load(std::memory_order_acquire) == before) {
                if (Clock::now() > deadline) return false;
                std::this_thread::yield();  // two cores: leave one to the library's thread
            }
            const Clock::time_point returned{Clock::duration(returnedAt_.load(std::memory_order_relaxed))};
            samples_[static_cast<std::size_t>(i)] = std::chrono::duration<double, std::micro>(returned - sent).count();
        }
        return true;
    }
    // Room for the latencies of `count` round trips; made before allocations are counted, so that
    // the benchmark's own vector is not counted as the library's.
    void ReserveSamples(std::int64_t count) {
        if (samples_.size() != static_cast<std::size_t>(count)) samples_.assign(static_cast<std::size_t>(count), 0.0);
    }
    // The latencies of the last round trips, without the first `skip`.
    std::vector<double> Samples(std::size_t skip) const {
        return std::vector<double>(samples_.begin() + static_cast<std::ptrdiff_t>(std::min(skip, samples_.size())),
                                   samples_.end());
    }

    CWaitableCount connected;
    CWaitableCount orders;

private:
    void SendOrder() {
        sentAt_ = Clock::now();
        api_->ReqInputOrder(&order_, ++requestId_);
    }

    CNarvSqelTraderApi* api_ = nullptr;
    NarvInputOrderRecord order_ = SampleApplicationOrder();
    std::int32_t requestId_ = 0;
    std::int64_t roundTrips_ = 0;
    std::int64_t base_ = 0;
    Clock::time_point sentAt_;
    std::vector<double> samples_;
    std::atomic<std::int64_t> returns_{0};
    std::atomic<Clock::duration::rep> returnedAt_{0};
};

// The library objects, created, connected to a loopback front and released as an application does.
struct CMdSession {
    explicit CMdSession(const std::string& front) : api(CNarvSqelMdApi::CreateSqelMdApi("", false, false)) {
        api->RegisterSpi(&spi);
        api->RegisterFront(front.c_str());
        spi.connected.ExpectTotal(1);
        api->Init();
    }
    ~CMdSession() { api->Release(); }
    CQuoteCountingSpi spi;
    CNarvSqelMdApi* api;
};

struct CTraderSession {
    explicit CTraderSession(const std::string& front) : api(CNarvSqelTraderApi::CreateSqelTraderApi("")) {
        api->RegisterSpi(&spi);
        api->RegisterFront(front.c_str());
        spi.connected.ExpectTotal(1);
        api->Init();
    }
    ~CTraderSession() { api->Release(); }
    CTraderSpi spi;
    CNarvSqelTraderApi* api;
};

// ---- streams ------------------------------------------------------------------------------------

constexpr int kFramesPerWrite = 512;
constexpr int kWritesPerIteration = 8;
constexpr std::int64_t kFramesPerIteration = std::int64_t{kFramesPerWrite} * kWritesPerIteration;

// Writes one iteration's frames and waits until the receiving side has counted them all. `before`
// lets order returns carry rising sequences (the flow drops repeats).
template <class BeforeWrite>
bool Blast(int fd, std::vector<std::uint8_t>& stream, CWaitableCount& received, std::int64_t& total,
           BeforeWrite beforeWrite) {
    total += kFramesPerIteration;
    received.ExpectTotal(total);
    for (int i = 0; i < kWritesPerIteration; ++i) {
        beforeWrite(stream);
        if (!WriteAll(fd, stream.data(), stream.size())) return false;
    }
    return received.WaitForTarget();
}

void NoPatch(std::vector<std::uint8_t>&) {}

// Gives every order return in the stream the next sequence of flow 1.
class CSequencePatcher {
public:
    explicit CSequencePatcher(std::size_t frameSize) : frameSize_(frameSize) {}
    void operator()(std::vector<std::uint8_t>& stream) {
        for (std::size_t at = 0; at < stream.size(); at += frameSize_)
            PatchInt32(stream.data() + at, kFrameEndFlagOffset, ++sequence_);
    }

private:
    std::size_t frameSize_;
    std::int32_t sequence_ = 0;
};

void StreamIntoRawReader(benchmark::State& state, std::vector<std::uint8_t> stream) {
    CLoopbackListener listener;
    CWaitableCount frames;
    std::thread reader([&] {
        ExcludeThisThreadFromAllocationCount();
        const int fd = ConnectLoopback(listener.Port());
        if (fd < 0) return;
        // The same read size as the library's read buffer.
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[1 << 20]);
        CFrameCounter counter;
        for (;;) {
            const std::size_t n = ReadSome(fd, buffer.get(), 1 << 20);
            if (n == 0) break;
            const std::int64_t before = counter.Frames();
            counter.Feed(buffer.get(), n);
            if (counter.Frames() != before) frames.Add(counter.Frames() - before);
        }
        CloseSocket(fd);
    });
    const int fd = listener.Accept();
    ExcludeThisThreadFromAllocationCount();
    std::int64_t total = 0;
    bool ok = fd >= 0 && Blast(fd, stream, frames, total, NoPatch);
    for (auto _ : state) {
        if (!ok || !(ok = Blast(fd, stream, frames, total, NoPatch))) break;
    }
    ExcludeThisThreadFromAllocationCount(false);
    CloseSocket(fd);
    reader.join();
    if (!ok) state.SkipWithError("the reader did not get the stream");
    state.SetItemsProcessed(state.iterations() * kFramesPerIteration);
}

void BM_QuoteStream_RawReader(benchmark::State& state) {
    StreamIntoRawReader(state, MarketQuoteStream(kFramesPerWrite));
}

void BM_QuoteStream_MdApi(benchmark::State& state) {
    CLoopbackListener listener;
    CMdSession session(listener.FrontAddress());
    const int fd = listener.Accept();
    std::vector<std::uint8_t> stream = MarketQuoteStream(kFramesPerWrite);
    ExcludeThisThreadFromAllocationCount();
    std::int64_t total = 0;
    // The first iteration's worth warms the connection (buffers, handler memory) before counting.
    bool ok = fd >= 0 && session.spi.connected.WaitForTarget() && Blast(fd, stream, session.spi.quotes, total, NoPatch);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        if (!ok || !(ok = Blast(fd, stream, session.spi.quotes, total, NoPatch))) break;
    }
    ReportAllocations(state, before, state.iterations() * kFramesPerIteration, "allocations_per_quote");
    ExcludeThisThreadFromAllocationCount(false);
    if (!ok) state.SkipWithError("quotes did not arrive");
    state.SetItemsProcessed(state.iterations() * kFramesPerIteration);
    CloseSocket(fd);
}

// One quote at a time, each waited for before the next is written: every read holds a single frame,
// as when the market is quiet. Shows what a read costs beyond its frames (allocations above all); the
// latency includes waking this thread from the callback.
void BM_QuoteTrickle_MdApi(benchmark::State& state) {
    constexpr int kWarmUpQuotes = 200;
    constexpr int kQuotes = 2000;
    CLoopbackListener listener;
    CMdSession session(listener.FrontAddress());
    const int fd = listener.Accept();
    const std::vector<std::vector<std::uint8_t>> frames = SplitFrames(MarketQuoteStream(kFramesPerWrite));
    ExcludeThisThreadFromAllocationCount();
    std::int64_t total = 0;
    auto deliverOne = [&] {
        const std::vector<std::uint8_t>& frame = frames[static_cast<std::size_t>(total) % frames.size()];
        session.spi.quotes.ExpectTotal(++total);
        return WriteAll(fd, frame.data(), frame.size()) && session.spi.quotes.WaitForTarget();
    };
    bool ok = fd >= 0 && session.spi.connected.WaitForTarget();
    for (int i = 0; ok && i < kWarmUpQuotes; ++i) ok = deliverOne();
    std::vector<double> samples(kQuotes);
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        for (int i = 0; ok && i < kQuotes; ++i) {
            const Clock::time_point sent = Clock::now();
            ok = deliverOne();
            samples[static_cast<std::size_t>(i)] =
                std::chrono::duration<double, std::micro>(Clock::now() - sent).count();
        }
    }
    ReportAllocations(state, before, kQuotes, "allocations_per_quote");
    ExcludeThisThreadFromAllocationCount(false);
    if (!ok) state.SkipWithError("quotes did not arrive");
    ReportLatencies(state, samples);
    CloseSocket(fd);
}

void BM_OrderPushStream_RawReader(benchmark::State& state) {
    StreamIntoRawReader(state, Repeat(OrderPushFrame(SampleOrder(), 1), kFramesPerWrite));
}

void BM_OrderPushStream_TraderApi(benchmark::State& state) {
    CLoopbackListener listener;
    CTraderSession session(listener.FrontAddress());
    const int fd = listener.Accept();
    const std::vector<std::uint8_t> frame = OrderPushFrame(SampleOrder(), 1);
    std::vector<std::uint8_t> stream = Repeat(frame, kFramesPerWrite);
    CSequencePatcher sequences(frame.size());
    ExcludeThisThreadFromAllocationCount();
    std::int64_t total = 0;
    bool ok = fd >= 0 && session.spi.connected.WaitForTarget() &&
              Blast(fd, stream, session.spi.orders, total, std::ref(sequences));
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        if (!ok || !(ok = Blast(fd, stream, session.spi.orders, total, std::ref(sequences)))) break;
    }
    ReportAllocations(state, before, state.iterations() * kFramesPerIteration, "allocations_per_push");
    ExcludeThisThreadFromAllocationCount(false);
    if (!ok) state.SkipWithError("order returns did not arrive");
    state.SetItemsProcessed(state.iterations() * kFramesPerIteration);
    CloseSocket(fd);
}

// ---- order round trip ---------------------------------------------------------------------------

constexpr std::int64_t kWarmUpRoundTrips = 500;

// 5000 unless NARV_BENCH_ROUND_TRIPS says otherwise: the system-call count runs the round trips twice
// with different counts and takes the difference, so that set-up and tear-down cancel out.
std::int64_t MeasuredRoundTrips() {
    const char* configured = std::getenv("NARV_BENCH_ROUND_TRIPS");
    const long long count = configured != nullptr ? std::atoll(configured) : 0;
    return count > 0 ? count : 5000;
}
const std::int64_t kMeasuredRoundTrips = MeasuredRoundTrips();

void BM_OrderRoundTrip_RawPingPong(benchmark::State& state) {
    COrderFront front(true);
    const int fd = ConnectLoopback(front.Port());
    std::vector<std::uint8_t> request = ApplicationOrderFrame();
    std::vector<std::uint8_t> answer(front.AnswerSize());
    std::vector<double> samples(static_cast<std::size_t>(kWarmUpRoundTrips + kMeasuredRoundTrips));
    bool ok = fd >= 0;
    for (auto _ : state) {
        for (std::size_t i = 0; ok && i < samples.size(); ++i) {
            PatchInt32(request, kFrameRequestIdOffset, static_cast<std::int32_t>(i + 1));
            const Clock::time_point sent = Clock::now();
            ok = WriteAll(fd, request.data(), request.size()) && ReadExactly(fd, answer.data(), answer.size());
            samples[i] = std::chrono::duration<double, std::micro>(Clock::now() - sent).count();
        }
    }
    CloseSocket(fd);
    if (!ok) state.SkipWithError("the ping-pong broke off");
    ReportLatencies(state, std::vector<double>(samples.begin() + kWarmUpRoundTrips, samples.end()));
    state.counters["request_bytes"] = static_cast<double>(request.size());
    state.counters["answer_bytes"] = static_cast<double>(answer.size());
}

// Round trips through the trading library; `run(session)` makes them all and tells whether every
// order return arrived.
template <class RunRoundTrips>
void OrderRoundTripsThroughTraderApi(benchmark::State& state, RunRoundTrips run) {
    COrderFront front(true);
    CTraderSession session(front.FrontAddress());
    bool ok = session.spi.connected.WaitForTarget();
    session.spi.ReserveSamples(kWarmUpRoundTrips + kMeasuredRoundTrips);
    std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        ok = ok && run(session);
    }
    if (!ok) state.SkipWithError("order returns did not arrive");
    ReportAllocations(state, before, kWarmUpRoundTrips + kMeasuredRoundTrips, "allocations_per_round_trip");
    ReportLatencies(state, session.spi.Samples(kWarmUpRoundTrips));
}

// The next order sent from inside OnOrderNty.
void BM_OrderRoundTrip_TraderApi(benchmark::State& state) {
    OrderRoundTripsThroughTraderApi(state, [](CTraderSession& session) {
        session.spi.StartRoundTrips(session.api, kWarmUpRoundTrips + kMeasuredRoundTrips);
        return session.spi.orders.WaitForTarget();
    });
}

// The next order sent from the application's own thread once it has learnt of the return.
void BM_OrderRoundTrip_TraderApiFromAppThread(benchmark::State& state) {
    OrderRoundTripsThroughTraderApi(state, [](CTraderSession& session) {
        return session.spi.RoundTripsFromThisThread(session.api, kWarmUpRoundTrips + kMeasuredRoundTrips);
    });
}

// ---- requests -----------------------------------------------------------------------------------

constexpr int kRequestsPerIteration = 256;

// Requests from the application's thread as fast as it issues them; each iteration waits until the
// front has received them all. The calling thread counts: the copy into the request is the library's
// doing. `send(api, requestId)` makes one request.
template <class SendOne>
void RequestsFromAppThread(benchmark::State& state, SendOne send) {
    COrderFront front(false);
    CTraderSession session(front.FrontAddress());
    std::int32_t requestId = 0;
    std::int64_t total = 0;
    auto sendBatch = [&] {
        total += kRequestsPerIteration;
        front.orders.ExpectTotal(total);
        for (int i = 0; i < kRequestsPerIteration; ++i)
            if (send(session.api, ++requestId) != 0) return false;
        return front.orders.WaitForTarget();
    };
    bool ok = session.spi.connected.WaitForTarget() && sendBatch();
    const std::uint64_t before = AllocationCount();
    for (auto _ : state) {
        if (!ok || !(ok = sendBatch())) break;
    }
    ReportAllocations(state, before, state.iterations() * kRequestsPerIteration, "allocations_per_request");
    if (!ok) state.SkipWithError("requests did not arrive");
    state.SetItemsProcessed(state.iterations() * kRequestsPerIteration);
}

void BM_OrderRequests_TraderApi(benchmark::State& state) {
    const NarvInputOrderRecord order = SampleApplicationOrder();
    RequestsFromAppThread(state, [&](CNarvSqelTraderApi* api, int id) { return api->ReqInputOrder(&order, id); });
}

void BM_CancelRequests_TraderApi(benchmark::State& state) {
    NarvOrderActionRecord cancel{};
    std::snprintf(cancel.InvestorID, sizeof cancel.InvestorID, "%s", "880001234");
    std::snprintf(cancel.OrderRef, sizeof cancel.OrderRef, "%s", "000000000012");
    std::snprintf(cancel.InstrumentID, sizeof cancel.InstrumentID, "%s", "cu2702");
    RequestsFromAppThread(state, [&](CNarvSqelTraderApi* api, int id) { return api->ReqOrderCancel(&cancel, id); });
}

void BM_QueryRequests_TraderApi(benchmark::State& state) {
    NarvOrderQueryRecord query{};
    std::snprintf(query.InvestorID, sizeof query.InvestorID, "%s", "880001234");
    RequestsFromAppThread(state, [&](CNarvSqelTraderApi* api, int id) { return api->ReqOrderQuery(&query, id); });
}

}  // namespace

BENCHMARK(BM_QuoteStream_RawReader)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuoteStream_MdApi)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuoteTrickle_MdApi)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderPushStream_RawReader)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderPushStream_TraderApi)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderRoundTrip_RawPingPong)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderRoundTrip_TraderApi)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderRoundTrip_TraderApiFromAppThread)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderRequests_TraderApi)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CancelRequests_TraderApi)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryRequests_TraderApi)->UseRealTime()->Unit(benchmark::kMicrosecond);
