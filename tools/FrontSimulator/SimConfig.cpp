#include "SimConfig.h"

#include <algorithm>
#include <boost/program_options.hpp>
#include <cmath>
#include <ctime>
#include <fstream>
#include <sstream>

namespace po = boost::program_options;

namespace {

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(text);
    while (std::getline(in, field, ':')) fields.push_back(field);
    return fields;
}

// "trade,quote" as fields of SplitFields.
std::string ReplaceCommas(std::string text) {
    std::replace(text.begin(), text.end(), ',', ':');
    return text;
}

template <class Number>
bool ParseNumber(const std::string& text, Number& value) {
    std::istringstream in(text);
    in >> value;
    return !in.fail() && in.eof();
}

bool IsIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

std::string TodayIso() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[11];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// Prices must lie on the tick grid, or orders at quoted prices would be rejected.
bool OnTickGrid(double price, double tick) {
    const double ticks = price / tick;
    return std::fabs(ticks - std::round(ticks)) < 1e-6;
}

}  // namespace

const SimAccount* SimConfig::FindAccount(const std::string& investorId) const {
    for (const auto& account : accounts)
        if (account.investorId == investorId) return &account;
    return nullptr;
}

const SimInstrument* SimConfig::FindInstrument(const std::string& instrumentId) const {
    for (const auto& instrument : instruments)
        if (instrument.instrumentId == instrumentId) return &instrument;
    return nullptr;
}

SimConfig DefaultSimConfig() {
    SimConfig config;
    config.tradingDay = TodayIso();
    config.accounts = {{"demo", "demo123", 1000000.0, "Demo Investor"}};
    // clang-format off
    config.instruments = {
        {"cu2601", "SHFE",  71230.0, 10.0,  5,    0.10, 0.00005},
        {"au2602", "SHFE",  612.50,  0.02,  1000, 0.12, 0.00002},
        {"sc2602", "INE",   520.3,   0.1,   1000, 0.15, 0.00002},
        {"m2605",  "DCE",   2890.0,  1.0,   10,   0.08, 0.0001},
        {"SR605",  "CZCE",  5530.0,  1.0,   10,   0.07, 0.0001},
        {"IF2601", "CFFEX", 3920.4,  0.2,   300,  0.12, 0.000023},
    };
    // clang-format on
    return config;
}

bool ParseSimAccount(const std::string& text, SimAccount& account) {
    const auto fields = SplitFields(text);
    if (fields.size() < 3 || fields.size() > 4) return false;
    SimAccount parsed;
    parsed.investorId = fields[0];
    parsed.password = fields[1];
    if (parsed.investorId.empty() || parsed.investorId.size() > 15 || parsed.password.size() > 20) return false;
    if (!ParseNumber(fields[2], parsed.funds) || parsed.funds < 0) return false;
    parsed.name = fields.size() == 4 ? fields[3] : parsed.investorId;
    account = parsed;
    return true;
}

bool ParseSimInstrument(const std::string& text, SimInstrument& instrument) {
    const auto fields = SplitFields(text);
    if (fields.size() < 3 || fields.size() > 7) return false;
    SimInstrument parsed;
    parsed.instrumentId = fields[0];
    parsed.exchangeId = fields[1];
    if (parsed.instrumentId.empty() || parsed.instrumentId.size() > 15) return false;
    if (parsed.exchangeId.empty() || parsed.exchangeId.size() > 8) return false;
    if (!ParseNumber(fields[2], parsed.preSettle) || parsed.preSettle <= 0) return false;
    if (fields.size() > 3 && (!ParseNumber(fields[3], parsed.tick) || parsed.tick <= 0)) return false;
    if (fields.size() > 4 && (!ParseNumber(fields[4], parsed.multiplier) || parsed.multiplier <= 0)) return false;
    if (fields.size() > 5 &&
        (!ParseNumber(fields[5], parsed.marginRate) || parsed.marginRate <= 0 || parsed.marginRate > 1))
        return false;
    if (fields.size() > 6 && (!ParseNumber(fields[6], parsed.feeRate) || parsed.feeRate < 0)) return false;
    if (!OnTickGrid(parsed.preSettle, parsed.tick)) return false;
    instrument = parsed;
    return true;
}

SimConfigParse ParseSimCommandLine(int argc, const char* const argv[], SimConfig& config) {
    SimConfig defaults = DefaultSimConfig();
    std::vector<std::string> accounts, instruments;
    std::string configFile, faultServices = "trade,quote";
    std::uint32_t tradePort = 0, quotePort = 0;

    po::options_description general("Front simulator: serves the trade and the quote service on loopback");
    // clang-format off
    general.add_options()
        ("help,h", "print this help and exit")
        ("config", po::value(&configFile), "read further options from a file of key=value lines (# comments)")
        ("listen", po::value(&config.listenHost)->default_value(defaults.listenHost), "address to listen on")
        ("trade-port", po::value(&tradePort)->default_value(0), "port of the trade service (0: a free port)")
        ("quote-port", po::value(&quotePort)->default_value(0), "port of the quote service (0: a free port)")
        ("trading-day", po::value(&config.tradingDay), "trading day YYYY-MM-DD (default: today)")
        ("seed", po::value(&config.seed)->default_value(defaults.seed), "seed of the random price walk")
        ("quote-rate", po::value(&config.quoteRate)->default_value(defaults.quoteRate), "quote updates per second")
        ("heartbeat", po::value(&config.heartbeatSeconds)->default_value(defaults.heartbeatSeconds),
         "seconds between heartbeats sent on an otherwise idle connection")
        ("idle-timeout", po::value(&config.idleTimeoutSeconds)->default_value(defaults.idleTimeoutSeconds),
         "close a connection that sent nothing for this many seconds")
        ("max-order-qty", po::value(&config.maxOrderQty)->default_value(defaults.maxOrderQty),
         "largest quantity of one order")
        ("front-id", po::value(&config.frontId)->default_value(defaults.frontId),
         "front number (high half of every SessionID)")
        ("account", po::value(&accounts)->composing(),
         "ID:PASSWORD:FUNDS[:NAME], repeatable (default: demo:demo123:1000000:Demo Investor)")
        ("instrument", po::value(&instruments)->composing(),
         "ID:EXCHANGE:PRICE[:TICK[:MULTIPLIER[:MARGIN_RATE[:FEE_RATE]]]], repeatable "
         "(default: cu2601 and au2602 on SHFE, sc2602 on INE, m2605 on DCE, SR605 on CZCE, IF2601 on CFFEX)");
    po::options_description faults("Faults, for testing clients");
    faults.add_options()
        ("fault-services", po::value(&faultServices)->default_value(faultServices),
         "services the faults apply to: trade, quote or trade,quote")
        ("fault-connections", po::value(&config.faults.connections)->default_value(0),
         "apply the faults to the first N connections of each service only (0: all)")
        ("close-after", po::value(&config.faults.closeAfter)->default_value(0),
         "close a connection after sending N messages")
        ("silence-after", po::value(&config.faults.silenceAfter)->default_value(0),
         "send nothing at all (no heartbeats either) after N messages")
        ("oversized-after", po::value(&config.faults.oversizedAfter)->default_value(0),
         "after N messages, send a frame whose length exceeds the limit")
        ("split-writes", po::value(&config.faults.splitWrites)->default_value(0),
         "write every frame in pieces of at most N bytes");
    // clang-format on
    po::options_description all;
    all.add(general).add(faults);

    std::ostringstream help;
    help << "usage: narv_front_simulator [options]\n\n"
         << all << "\n"
         << "On start the first line on standard output is, in this stable format,\n"
         << "  trade=HOST:PORT quote=HOST:PORT\n"
         << "for example trade=127.0.0.1:40213 quote=127.0.0.1:40214, with the ports actually opened (the\n"
         << "free ones chosen for a port of 0). It is written once both ports listen; everything else\n"
         << "goes to standard error.\n"
         << "Exit status: 0 after SIGINT or SIGTERM, 2 on a usage or configuration error, "
            "3 when a port cannot be opened, 1 on any other failure.\n";

    try {
        po::variables_map vm;
        po::store(po::parse_command_line(argc, argv, all), vm);
        if (vm.count("help")) return {SimConfigParse::Result::Help, help.str()};
        po::notify(vm);
        if (!configFile.empty()) {
            std::ifstream file(configFile);
            if (!file) return {SimConfigParse::Result::Error, "cannot read the configuration file " + configFile};
            po::store(po::parse_config_file(file, all), vm);
            po::notify(vm);
        }
    } catch (const po::error& e) {
        return {SimConfigParse::Result::Error, e.what()};
    }

    if (tradePort > 65535 || quotePort > 65535) return {SimConfigParse::Result::Error, "a port is above 65535"};
    config.tradePort = static_cast<std::uint16_t>(tradePort);
    config.quotePort = static_cast<std::uint16_t>(quotePort);
    if (config.tradingDay.empty()) config.tradingDay = TodayIso();
    if (!IsIsoDate(config.tradingDay))
        return {SimConfigParse::Result::Error, "trading-day must be YYYY-MM-DD: " + config.tradingDay};
    if (!(config.quoteRate > 0 && config.quoteRate <= 1000))
        return {SimConfigParse::Result::Error, "quote-rate must lie in (0, 1000]"};
    if (config.heartbeatSeconds == 0 || config.idleTimeoutSeconds == 0)
        return {SimConfigParse::Result::Error, "heartbeat and idle-timeout must be positive"};
    if (config.maxOrderQty <= 0) return {SimConfigParse::Result::Error, "max-order-qty must be positive"};
    // Both halves of a SessionID reach applications as signed 32-bit numbers.
    if (config.frontId < 0 || config.frontId > kSimMaxFrontId)
        return {SimConfigParse::Result::Error, "front-id must lie in [0, 2147483646]"};

    config.accounts = accounts.empty() ? defaults.accounts : std::vector<SimAccount>{};
    for (const auto& text : accounts) {
        SimAccount account;
        if (!ParseSimAccount(text, account)) return {SimConfigParse::Result::Error, "bad account: " + text};
        if (config.FindAccount(account.investorId))
            return {SimConfigParse::Result::Error, "account given twice: " + account.investorId};
        config.accounts.push_back(account);
    }
    config.instruments = instruments.empty() ? defaults.instruments : std::vector<SimInstrument>{};
    for (const auto& text : instruments) {
        SimInstrument instrument;
        if (!ParseSimInstrument(text, instrument))
            return {SimConfigParse::Result::Error, "bad instrument (is the price on its tick grid?): " + text};
        if (config.FindInstrument(instrument.instrumentId))
            return {SimConfigParse::Result::Error, "instrument given twice: " + instrument.instrumentId};
        config.instruments.push_back(instrument);
    }

    config.faults.trade = config.faults.quote = false;
    for (const auto& service : SplitFields(ReplaceCommas(faultServices))) {
        if (service == "trade")
            config.faults.trade = true;
        else if (service == "quote")
            config.faults.quote = true;
        else
            return {SimConfigParse::Result::Error, "fault-services takes trade, quote or both: " + faultServices};
    }
    if (!config.faults.trade && !config.faults.quote)
        return {SimConfigParse::Result::Error, "fault-services names neither trade nor quote"};
    return {};
}
