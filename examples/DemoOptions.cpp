#include "DemoOptions.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// The libraries drop the first six characters of a front address unread, so only this scheme is accepted.
const std::string kScheme = "tcp://";

enum OptionId { kTradeFront = 1000, kQuoteFront, kInvestor, kPassword, kFirm, kInstruments, kQuotes, kTimeout };

const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"trade-front", required_argument, nullptr, kTradeFront},
    {"quote-front", required_argument, nullptr, kQuoteFront},
    {"investor", required_argument, nullptr, kInvestor},
    {"password", required_argument, nullptr, kPassword},
    {"firm", required_argument, nullptr, kFirm},
    {"instruments", required_argument, nullptr, kInstruments},
    {"quotes", required_argument, nullptr, kQuotes},
    {"timeout", required_argument, nullptr, kTimeout},
    {nullptr, 0, nullptr, 0},
};

bool ParseCount(const char* text, int low, int high, int& value) {
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) items.push_back(item);
    return items;
}

DemoOptionsParse Error(const std::string& message) { return {DemoOptionsParse::Outcome::Error, message}; }

}  // namespace

std::string NormaliseFrontAddress(const std::string& text) {
    std::string hostPort = text;
    const auto scheme = text.find("://");
    if (scheme != std::string::npos) {
        if (text.compare(0, kScheme.size(), kScheme) != 0) return {};
        hostPort = text.substr(kScheme.size());
    }
    const auto colon = hostPort.rfind(':');
    if (colon == std::string::npos || colon == 0) return {};
    int port = 0;
    if (!ParseCount(hostPort.c_str() + colon + 1, 1, 65535, port)) return {};
    return kScheme + hostPort;
}

std::string DemoUsage() {
    return "usage: narv_demo --trade-front HOST:PORT --quote-front HOST:PORT [options]\n"
           "\n"
           "Connects the trading and the market-data library to a trade and a quote front, logs in,\n"
           "subscribes instruments and prints a few quotes, enters a limit order that fills and one that\n"
           "it then cancels, prints the order and trade returns, queries positions, funds, orders and\n"
           "trades, and logs out.\n"
           "\n"
           "options:\n"
           "  --trade-front ADDRESS   trade front, HOST:PORT or tcp://HOST:PORT (required)\n"
           "  --quote-front ADDRESS   quote front, HOST:PORT or tcp://HOST:PORT (required)\n"
           "  --investor ID           investor to log in as (default demo)\n"
           "  --password TEXT         its password (default demo123)\n"
           "  --firm ID               firm of the investor (default 0001)\n"
           "  --instruments A,B       instruments to subscribe; the order that fills goes to the first,\n"
           "                          the order that is cancelled to the second (default cu2601,sc2602)\n"
           "  --quotes N              quotes to print per instrument, 1 to 100 (default 3)\n"
           "  --timeout SECONDS       longest wait for any one answer, 1 to 600 (default 10); the whole\n"
           "                          run is abandoned after 20 times that\n"
           "  -h, --help              print this help and exit\n"
           "\n"
           "exit status:\n"
           "  0  every step done\n"
           "  1  a request was refused or answered with an error\n"
           "  2  bad command line\n"
           "  3  an expected answer did not arrive in time\n"
           "  4  a front could not be reached in time, or a connection was lost\n";
}

DemoOptionsParse ParseDemoOptions(int argc, char* const argv[], DemoOptions& options) {
    optind = 0;  // full re-initialisation, so that the parser can run more than once in a process
    opterr = 0;  // errors are reported by the caller, with the usage hint
    int id;
    while ((id = getopt_long(argc, argv, ":h", kLongOptions, nullptr)) != -1) {
        const std::string value = optarg ? optarg : "";
        switch (id) {
            case 'h':
                return {DemoOptionsParse::Outcome::Help, DemoUsage()};
            case kTradeFront:
            case kQuoteFront: {
                const std::string address = NormaliseFrontAddress(value);
                if (address.empty()) return Error("bad front address '" + value + "' (expected HOST:PORT)");
                (id == kTradeFront ? options.tradeFront : options.quoteFront) = address;
                break;
            }
            case kInvestor:
                if (value.empty() || value.size() > 15) return Error("an investor id has 1 to 15 characters");
                options.investorId = value;
                break;
            case kPassword:
                if (value.size() > 20) return Error("a password has at most 20 characters");
                options.password = value;
                break;
            case kFirm:
                if (value.size() > 10) return Error("a firm id has at most 10 characters");
                options.firmId = value;
                break;
            case kInstruments:
                options.instruments = SplitList(value);
                if (options.instruments.empty()) return Error("--instruments needs at least one instrument id");
                for (const auto& instrument : options.instruments)
                    if (instrument.size() > 15) return Error("instrument id '" + instrument + "' is longer than 15");
                break;
            case kQuotes:
                if (!ParseCount(optarg, 1, 100, options.quotesPerInstrument))
                    return Error("--quotes takes a number from 1 to 100");
                break;
            case kTimeout:
                if (!ParseCount(optarg, 1, 600, options.stepTimeoutSeconds))
                    return Error("--timeout takes a number of seconds from 1 to 600");
                break;
            case ':':
                return Error(std::string("option ") + argv[optind - 1] + " needs a value");
            default:
                return Error(std::string("unknown option ") + argv[optind - 1]);
        }
    }
    if (optind < argc) return Error(std::string("unexpected argument ") + argv[optind]);
    if (options.tradeFront.empty() || options.quoteFront.empty())
        return Error("both --trade-front and --quote-front are required");
    return {};
}
