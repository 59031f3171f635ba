// The codec on its own: a record encoded into its group and decoded back, the way the clients do it,
// each beside a plain copy of the same bytes measured in the same run (the floor no codec can beat).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "APIPackage.h"
#include "BenchFixtures.h"
#include "TZOByteOrder.h"

using namespace narv_bench;

namespace {

// The bytes of one record's group value, as they travel in a message body.
template <class Record>
std::vector<std::uint8_t> EncodedGroup(const TZORecordLayout& layout, const Record& record) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize);
    CTZOPackage package;
    package.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
    const int n = TZOAddRecord(package, 1, layout, &record);
    // Skip the group's own 8-byte header: the value is what DecodeFields reads.
    return std::vector<std::uint8_t>(buffer.begin() + 8, buffer.begin() + 8 + n);
}

template <class Record>
void Encode(benchmark::State& state, const TZORecordLayout& layout, const Record& record, std::uint16_t groupId) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize);
    CTZOPackage package;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        package.Attach(buffer.data(), static_cast<std::uint32_t>(buffer.size()), 0, nullptr);
        const int n = TZOAddRecord(package, groupId, layout, &record);
        benchmark::DoNotOptimize(n);
        benchmark::ClobberMemory();
        bytes += n;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

// As the clients decode a group: into a zeroed record.
template <class Record>
void Decode(benchmark::State& state, const TZORecordLayout& layout, const Record& sample) {
    const std::vector<std::uint8_t> group = EncodedGroup(layout, sample);
    for (auto _ : state) {
        Record record{};
        const int result = TZODecodeRecord(layout, &record, group.data(), static_cast<std::uint32_t>(group.size()));
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(&record);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(group.size()));
}

// The floor: a copy of the encoded bytes, the least any decoder or encoder has to move.
void CopyBytes(benchmark::State& state, std::size_t size) {
    std::vector<std::uint8_t> source(size, 0x5a);
    std::vector<std::uint8_t> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.counters["bytes_per_message"] = static_cast<double>(size);
}

// The floor of the tagged format: a walk over the field headers of the same bytes (each field's id,
// extension length and value length loaded, the position moved past its value), touching no value.
void WalkFieldHeaders(benchmark::State& state, const std::vector<std::uint8_t>& group) {
    const std::uint8_t* const bytes = group.data();
    const std::uint32_t size = static_cast<std::uint32_t>(group.size());
    for (auto _ : state) {
        std::uint32_t ids = 0;
        for (std::uint32_t at = 0; at + kTZOFieldHeaderSize <= size;) {
            ids += tzo_wire::LoadU16(bytes + at);
            at += 4 + tzo_wire::LoadU16(bytes + at + 2);
            at += 4 + tzo_wire::LoadU32(bytes + at);
        }
        benchmark::DoNotOptimize(ids);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_QuoteEncode(benchmark::State& state) { Encode(state, quot::kNELOQuotLayout, SampleQuote(), TZOField::Quot.id); }
void BM_QuoteDecode(benchmark::State& state) { Decode(state, quot::kNELOQuotLayout, SampleQuote()); }
void BM_QuoteCopy(benchmark::State& state) {
    CopyBytes(state, EncodedGroup(quot::kNELOQuotLayout, SampleQuote()).size());
}

void BM_QuoteFieldWalk(benchmark::State& state) {
    WalkFieldHeaders(state, EncodedGroup(quot::kNELOQuotLayout, SampleQuote()));
}

void BM_OrderEncode(benchmark::State& state) { Encode(state, kNELOOrderLayout, SampleOrder(), TZOField::Order.id); }
void BM_OrderDecode(benchmark::State& state) { Decode(state, kNELOOrderLayout, SampleOrder()); }
void BM_OrderCopy(benchmark::State& state) { CopyBytes(state, EncodedGroup(kNELOOrderLayout, SampleOrder()).size()); }

// A request as the I/O thread builds it: envelope begun in the staging buffer behind the length word,
// the order entry added as its group, the frame length written in front.
void BM_RequestEnvelope(benchmark::State& state) {
    const NELOInputOrderRecord order = SampleInputOrder();
    std::vector<std::uint8_t> staging(4 + kAPIMessageMaxSize);
    std::int32_t requestId = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        CAPIPackage package;
        package.Begin(kInputOrderService, ++requestId, staging.data() + 4);
        TZOAddRecord(package, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
        tzo_wire::StoreU32(staging.data(), package.Length());
        benchmark::DoNotOptimize(staging.data());
        benchmark::ClobberMemory();
        bytes += 4 + package.Length();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}
void BM_RequestEnvelopeCopy(benchmark::State& state) {
    CopyBytes(state, InputOrderFrame(SampleInputOrder(), 1).size());
}

}  // namespace

BENCHMARK(BM_QuoteEncode);
BENCHMARK(BM_QuoteDecode);
BENCHMARK(BM_QuoteCopy);
BENCHMARK(BM_QuoteFieldWalk);
BENCHMARK(BM_OrderEncode);
BENCHMARK(BM_OrderDecode);
BENCHMARK(BM_OrderCopy);
BENCHMARK(BM_RequestEnvelope);
BENCHMARK(BM_RequestEnvelopeCopy);
