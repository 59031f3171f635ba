// narv_bench_quote_source: a front that writes COUNT identical depth quotes to the first market-data
// client that connects, as fast as the client reads them, then closes. For measuring what a consumer
// of the library (the Python package) takes per quote: bench/python_quotes.py.
//
//   narv_bench_quote_source COUNT     prints "tcp://127.0.0.1:PORT" once it listens
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchFixtures.h"
#include "Loopback.h"

int main(int argc, char** argv) {
    const long count = argc == 2 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (count <= 0) {
        std::fprintf(stderr, "usage: narv_bench_quote_source COUNT\n");
        return 2;
    }
    narv_bench::CLoopbackListener listener;
    std::printf("%s\n", listener.FrontAddress().c_str());
    std::fflush(stdout);
    const int fd = listener.Accept(30000);
    if (fd < 0) return 1;
    const std::vector<std::uint8_t> frame = narv_bench::QuoteFrame(narv_bench::SampleQuote());
    constexpr long kFramesPerWrite = 256;
    std::vector<std::uint8_t> batch;
    for (long i = 0; i < kFramesPerWrite; ++i) batch.insert(batch.end(), frame.begin(), frame.end());
    for (long sent = 0; sent < count; sent += kFramesPerWrite) {
        const long frames = count - sent < kFramesPerWrite ? count - sent : kFramesPerWrite;
        if (!narv_bench::WriteAll(fd, batch.data(), static_cast<std::size_t>(frames) * frame.size())) return 1;
    }
    narv_bench::ReadSome(fd, batch.data(), batch.size());  // until the client goes away
    narv_bench::CloseSocket(fd);
    return 0;
}
