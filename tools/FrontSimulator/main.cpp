// narv_front_simulator: a trade service and a quote service on loopback, for the demo and for tests.
#include <sys/resource.h>

#include <boost/asio/signal_set.hpp>
#include <cstdio>
#include <iostream>

#include "FrontSimulator.h"

namespace {

// Exit statuses scripts can rely on.
constexpr int kExitStopped = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoPort = 3;

// Every client session holds a descriptor; the usual soft limit of 1024 would turn clients away long
// before the simulator runs out of anything else. Raised as far as the hard limit allows.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    SimConfig config = DefaultSimConfig();
    const SimConfigParse parsed = ParseSimCommandLine(argc, argv, config);
    if (parsed.result == SimConfigParse::Result::Help) {
        std::cout << parsed.message;
        return kExitStopped;
    }
    if (parsed.result == SimConfigParse::Result::Error) {
        std::cerr << "narv_front_simulator: " << parsed.message << "\n(--help lists the options)\n";
        return kExitUsage;
    }
    RaiseDescriptorLimit();
    try {
        CFrontSimulator simulator(config);
        try {
            simulator.Open();
        } catch (const boost::system::system_error& e) {
            std::cerr << "narv_front_simulator: cannot listen: " << e.what() << "\n";
            return kExitNoPort;
        }
        boost::asio::signal_set signals(simulator.Context(), SIGINT, SIGTERM);
        signals.async_wait([&](const boost::system::error_code& error, int) {
            if (!error) simulator.Stop();
        });
        // The first line is for scripts; everything else goes to standard error.
        std::cout << "trade=" << simulator.Host() << ":" << simulator.TradePort() << " quote=" << simulator.Host()
                  << ":" << simulator.QuotePort() << std::endl;
        std::cerr << "narv_front_simulator: trading day " << config.tradingDay << ", " << config.accounts.size()
                  << " account(s), " << config.instruments.size() << " instrument(s), " << config.quoteRate
                  << " quote(s)/s, seed " << config.seed << "\n";
        simulator.Run();
        std::cerr << "narv_front_simulator: stopped\n";
        return kExitStopped;
    } catch (const std::exception& e) {
        std::cerr << "narv_front_simulator: " << e.what() << "\n";
        return kExitFailure;
    }
}
